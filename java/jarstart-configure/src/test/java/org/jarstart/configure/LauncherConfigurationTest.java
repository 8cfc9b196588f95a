package org.jarstart.configure;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.Arrays;

import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

class LauncherConfigurationTest {
    // A 2x1 24-bit BMP file and a one-image icon file holding a PNG.
    static final byte[] BMP = bytes("BM\u003e\0\0\0\0\0\0\0\u0036\0\0\0\u0028\0\0\0\u0002\0\0\0\u0001\0\0\0\u0001\0\u0018\0\0\0\0\0\u0008"
            + "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\u00ff\0\0\0\u00ff\0\0\0");
    static final byte[] ICO = bytes("\0\0\u0001\0\u0001\0\u0010\u0010\0\0\u0001\0\u0020\0\u0010\0\0\0\u0016\0\0\0\u0089PNG\r\n\u001a\n01234567");

    @TempDir
    Path dir;

    static byte[] bytes(String latin1) {
        return latin1.getBytes(StandardCharsets.ISO_8859_1);
    }

    private static LauncherImage configured(String launcher, LauncherConfiguration configuration) throws Exception {
        byte[] out = configuration.configure(Launchers.bytes(launcher), launcher, "out.exe").bytes();
        return LauncherImage.read(out, "out.exe");
    }

    @ParameterizedTest
    @ValueSource(strings = {"jarstart.exe", "jarstart-console.exe", "x64/jarstart.exe", "x64/jarstart-console.exe"})
    void aConfiguredCopyHasTheSetPropertiesAndNoneOfTheExamplesAndStaysItsKind(String launcher) throws Exception {
        LauncherImage input = LauncherImage.read(Launchers.bytes(launcher), launcher);
        assertTrue(input.isExample());
        assertFalse(input.property(101).isEmpty(), "the example names a jar");
        LauncherImage out = configured(launcher, new LauncherConfiguration()
                .property("PROP_START_JAR", "app.jar").property(104, "11").property("PROP_VM_PARAMS", "-Dname=日本😀"));
        assertEquals("app.jar", out.property(101));
        assertEquals("11", out.property(104));
        assertEquals("-Dname=日本😀", out.property(100));
        assertEquals("", out.property(97), "the example's keep-alive is not kept");
        assertFalse(out.isExample());
        assertEquals(input.isConsole(), out.isConsole());
        assertEquals(input.is64Bit(), out.is64Bit());
        assertEquals(launcher.contains("console"), out.isConsole());
        assertEquals(launcher.startsWith("x64"), out.is64Bit());
    }

    @Test
    void keepingPropertiesKeepsThoseNotSetAndAnEmptyValueMakesOneAbsent() throws Exception {
        byte[] first = new LauncherConfiguration().property("PROP_START_JAR", "app.jar").property("PROP_MIN_VERSION", "11")
                .configure(Launchers.bytes("jarstart.exe"), "in", "out").bytes();
        byte[] again = new LauncherConfiguration().keepProperties(true).property("PROP_MIN_VERSION", "")
                .property("PROP_SPLASH", "yes").configure(first, "in", "out").bytes();
        LauncherImage out = LauncherImage.read(again, "out");
        assertEquals("app.jar", out.property(101));
        assertEquals("", out.property(104));
        assertEquals("yes", out.property(96));
    }

    @Test
    void configuringAConfiguredCopyAgainGivesTheSameBytes() throws Exception {
        LauncherConfiguration configuration = new LauncherConfiguration().property("PROP_START_JAR", "app.jar").splash(BMP)
                .icon(ICO).version(new VersionInfo().version("1.2.3").product("Quill"));
        byte[] once = configuration.configure(Launchers.bytes("x64/jarstart.exe"), "in", "out").bytes();
        byte[] twice = configuration.configure(once, "in", "out").bytes();
        assertArrayEquals(once, twice);
        LauncherImage out = LauncherImage.read(once, "out");
        assertArrayEquals(BMP, out.splash());
        assertNotNull(out.resource(IconFile.RT_GROUP_ICON, IconFile.GROUP_ID));
    }

    @Test
    void theVersionInformationHoldsTheNumbersAndTheGivenTextsOnly() throws Exception {
        LauncherImage out = configured("jarstart.exe", new LauncherConfiguration()
                .version(new VersionInfo().version("1.2.3").product("Quill").company("Q&Co")));
        byte[] info = out.resource(VersionInfo.RT_VERSION, VersionInfo.RESOURCE_ID);
        String text = new String(info, StandardCharsets.UTF_16LE);
        assertTrue(text.contains("ProductName") && text.contains("\0Quill\0"), text);
        assertTrue(text.contains("CompanyName") && text.contains("\0Q&Co\0"), text);
        assertTrue(text.contains("FileVersion") && text.contains("ProductVersion") && text.contains("\u00001.2.3.0\0"), text);
        assertFalse(text.contains("LegalCopyright"), "an empty text is left out");
        // Length, value length and type, the key "VS_VERSION_INFO" with its
        // end, padded to 40 bytes: then the fixed numbers.
        int fixed = 40;
        assertEquals(0xFEEF04BDL, LittleEndian.u32(info, fixed));
        assertEquals(1L << 16 | 2, LittleEndian.u32(info, fixed + 8));
        assertEquals(3L << 16, LittleEndian.u32(info, fixed + 12));
    }

    @Test
    void aSignedInputLosesItsSignatureWithANote() throws Exception {
        byte[] launcher = Launchers.bytes("jarstart.exe");
        byte[] signature = "not a signature!".getBytes(StandardCharsets.US_ASCII);
        byte[] signed = Arrays.copyOf(launcher, launcher.length + signature.length);
        System.arraycopy(signature, 0, signed, launcher.length, signature.length);
        PeImage.Layout layout = PeImage.readLayout(signed);
        LittleEndian.put32(signed, layout.directories + 32, launcher.length);
        LittleEndian.put32(signed, layout.directories + 36, signature.length);
        LauncherConfiguration.Configured out = new LauncherConfiguration().property("PROP_START_JAR", "a.jar")
                .configure(signed, "signed.exe", "out.exe");
        assertEquals("note: signed.exe was signed; the signature no longer matched and was removed: sign out.exe again", out.note());
        byte[] bytes = out.bytes();
        assertEquals(0, LittleEndian.u32(bytes, layout.directories + 32));
        assertEquals(0, LittleEndian.u32(bytes, layout.directories + 36));
        assertFalse(new String(bytes, StandardCharsets.ISO_8859_1).contains("not a signature!"));
        assertNull(new LauncherConfiguration().configure(launcher, "in", "out").note());
    }

    @Test
    void theChecksumIsTheOneTheSystemComputes() throws Exception {
        byte[] out = new LauncherConfiguration().property("PROP_START_JAR", "a.jar")
                .configure(Launchers.bytes("jarstart.exe"), "in", "out").bytes();
        PeImage.Layout layout = PeImage.readLayout(out);
        long stored = LittleEndian.u32(out, layout.optionalHeader + 64);
        assertEquals(ResourceWriter.checksum(out, layout.optionalHeader + 64), stored);
        assertTrue(stored > out.length);
    }

    @Test
    void unknownPropertiesAndOverlongValuesAreRefusedWithTheToolsMessages() throws Exception {
        String range = PropertyTable.launcher().idRange();
        LauncherConfiguration configuration = new LauncherConfiguration();
        assertEquals("unknown property \"PROP_NOPE\" (a name PROP_... or an id " + range
                + "): jarstart-tool properties lists them all",
                assertThrows(ConfigureException.class, () -> configuration.property("PROP_NOPE", "1")).getMessage());
        assertEquals("unknown property \"PROP_MINVERSION\" (a name PROP_... or an id " + range
                + "): did you mean PROP_MIN_VERSION? jarstart-tool properties lists them all",
                assertThrows(ConfigureException.class, () -> configuration.property("PROP_MINVERSION", "1")).getMessage());
        assertEquals("property id 95 is outside " + range,
                assertThrows(ConfigureException.class, () -> configuration.property(95, "1")).getMessage());
        char[] longest = new char[65535];
        Arrays.fill(longest, 'x');
        configuration.property("PROP_VM_PARAMS", new String(longest));
        assertEquals("a property value is longer than 65535 characters",
                assertThrows(ConfigureException.class, () -> configuration.property("PROP_VM_PARAMS", new String(longest) + "x"))
                        .getMessage());
        assertEquals(65535, configured("jarstart.exe", configuration).property(100).length());
    }

    @Test
    void filesThatAreNoIconsOrImagesAreRefused() {
        LauncherConfiguration configuration = new LauncherConfiguration();
        assertEquals("not an icon file (no icon directory at its start)",
                assertThrows(ConfigureException.class, () -> configuration.icon(bytes("MZ but nothing more"))).getMessage());
        assertEquals("the icon file holds no image",
                assertThrows(ConfigureException.class, () -> configuration.icon(bytes("\0\0\u0001\0\0\0"))).getMessage());
        byte[] outside = ICO.clone();
        outside[14] = 0x40;  // the image's size past the end
        assertEquals("icon image 1 (64 bytes at offset 22) does not lie inside the file's 38 bytes",
                assertThrows(ConfigureException.class, () -> configuration.icon(outside)).getMessage());
        byte[] notImage = ICO.clone();
        notImage[22] = 'X';
        assertEquals("icon image 1 is neither a bitmap nor a PNG image",
                assertThrows(ConfigureException.class, () -> configuration.icon(notImage)).getMessage());
        assertEquals(SplashImage.NOT_AN_IMAGE,
                assertThrows(ConfigureException.class, () -> configuration.splash(bytes("\u0089PNG\r\n\u001a\n"))).getMessage());
    }

    @ParameterizedTest
    @ValueSource(strings = {"1.2.3.4.5", "65536", "1..2", "1.2.", "v1", "1,2", "-1"})
    void aVersionThatIsNoVersionIsRefused(String version) {
        ConfigureException e = assertThrows(ConfigureException.class, () -> new VersionInfo().version(version));
        assertEquals("a version needs up to four numbers 0..65535 such as 1.2.3.4, got \"" + version + "\"", e.getMessage());
    }

    @Test
    void anInputThatIsNoLauncherIsRefused() throws Exception {
        LauncherConfiguration configuration = new LauncherConfiguration();
        assertEquals("notes.txt is not a PE executable", assertThrows(ConfigureException.class,
                () -> configuration.configure(bytes("MZ but nothing more"), "notes.txt", "out.exe")).getMessage());
        // The resource tree's root pointing past the section's data.
        byte[] damaged = Launchers.bytes("jarstart.exe");
        PeImage.Layout layout = PeImage.readLayout(damaged);
        LittleEndian.put32(damaged, layout.directories + 20, 0x7FFFFFF0L);
        assertEquals("bad.exe has a damaged resource section", assertThrows(ConfigureException.class,
                () -> configuration.configure(damaged, "bad.exe", "out.exe")).getMessage());
    }

    @Test
    void aFailedConfigurationLeavesTheOutputAsItWasAndNoTemporaryFile() throws Exception {
        Path output = dir.resolve("out.exe");
        java.nio.file.Files.write(output, bytes("old"));
        java.nio.file.Files.write(dir.resolve("notes.txt"), bytes("MZ but nothing more"));
        LauncherConfiguration configuration = new LauncherConfiguration().property("PROP_START_JAR", "a.jar");
        assertThrows(ConfigureException.class, () -> configuration.write(dir.resolve("notes.txt"), output));
        assertEquals("cannot read " + dir.resolve("missing.exe") + ": no such file or folder", assertThrows(
                ConfigureException.class, () -> configuration.write(dir.resolve("missing.exe"), output)).getMessage());
        assertArrayEquals(bytes("old"), java.nio.file.Files.readAllBytes(output));
        Path nowhere = dir.resolve("no/such/out.exe");
        assertEquals("cannot create a temporary file beside " + nowhere + ": no such file or folder", assertThrows(
                ConfigureException.class, () -> configuration.write(Launchers.path("jarstart.exe"), nowhere)).getMessage());
        assertEquals("cannot write " + dir + ": it is a folder", assertThrows(
                ConfigureException.class, () -> configuration.write(Launchers.path("jarstart.exe"), dir)).getMessage());
        assertEquals(2, java.nio.file.Files.list(dir).count(), "only out.exe and notes.txt");
    }

    @Test
    void aWrittenLauncherReplacesTheOutputWhole() throws IOException, ConfigureException {
        Path output = dir.resolve("out.exe");
        java.nio.file.Files.write(output, bytes("old"));
        new LauncherConfiguration().property("PROP_START_JAR", "a.jar").write(Launchers.path("jarstart.exe"), output);
        assertEquals("a.jar", LauncherImage.read(java.nio.file.Files.readAllBytes(output), "out.exe").property(101));
        assertEquals(1, java.nio.file.Files.list(dir).count());
    }
}
