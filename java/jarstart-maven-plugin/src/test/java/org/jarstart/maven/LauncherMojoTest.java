package org.jarstart.maven;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.Scanner;

import org.apache.maven.plugin.MojoExecutionException;
import org.jarstart.configure.LauncherImage;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class LauncherMojoTest {
    @TempDir
    Path target;

    /** The goal as Maven sets it up for a project app 1.2.3-SNAPSHOT with no configuration. */
    private LauncherMojo mojo(String output) {
        LauncherMojo mojo = new LauncherMojo();
        mojo.outputFile = target.resolve(output).toFile();
        mojo.kind = "gui";
        mojo.architecture = "x64";
        mojo.projectVersion = "1.2.3-SNAPSHOT";
        mojo.projectName = "Quill Writer";
        mojo.organizationName = "Quill & Co";
        mojo.finalName = "app-1.2.3-SNAPSHOT";
        return mojo;
    }

    private static LauncherImage read(File file) throws Exception {
        return LauncherImage.read(Files.readAllBytes(file.toPath()), file.getName());
    }

    private static String versionText(LauncherImage image) {
        return new String(image.resource(16, 1), StandardCharsets.UTF_16LE);
    }

    @ParameterizedTest
    @CsvSource({"1.2.3-SNAPSHOT, 1.2.3.0", "2, 2.0.0.0", "1.0-beta-2, 1.0.0.0", "1.2.3.4.5, 1.2.3.4", "3.1.x, 3.1.0.0",
            "65535.0, 65535.0.0.0", "10.20.30.40-rc1, 10.20.30.40"})
    void theFileVersionIsTheProjectsVersionWithoutItsQualifier(String project, String file) {
        assertEquals(file, LauncherMojo.numericVersion(project));
    }

    @ParameterizedTest
    @CsvSource({"dev", "65536.1", "v1.2", "''"})
    void aProjectVersionWithoutLeadingNumbersHasNoFileVersion(String project) {
        assertNull(LauncherMojo.numericVersion(project));
    }

    @Test
    void byDefaultTheLauncherStartsTheProjectsJarAndCarriesTheProjectsVersionInformation() throws Exception {
        LauncherMojo mojo = mojo("app.exe");
        mojo.execute();
        LauncherImage out = read(mojo.outputFile);
        assertEquals("app-1.2.3-SNAPSHOT.jar", out.property(101));
        assertFalse(out.isConsole());
        assertTrue(out.is64Bit());
        String version = versionText(out);
        assertTrue(version.contains("\u00001.2.3.0\0"), version);
        assertTrue(version.contains("\0Quill Writer\0"), version);
        assertTrue(version.contains("\0Quill & Co\0"), version);
    }

    @Test
    void givenPropertiesAndVersionTextsWinOverTheDefaults() throws Exception {
        LauncherMojo mojo = mojo("app.exe");
        mojo.properties = new LinkedHashMap<>();
        mojo.properties.put("PROP_START_JAR", "lib/other.jar");
        mojo.properties.put("PROP_MIN_VERSION", "11");
        mojo.fileVersion = "4.5";
        mojo.productName = "Quill";
        mojo.copyright = "(c) Quill";
        mojo.execute();
        LauncherImage out = read(mojo.outputFile);
        assertEquals("lib/other.jar", out.property(101));
        assertEquals("11", out.property(104));
        String version = versionText(out);
        assertTrue(version.contains("\u00004.5.0.0\0") && version.contains("\0Quill\0") && version.contains("\0(c) Quill\0"), version);
        assertFalse(version.contains("Quill Writer"));
    }

    @Test
    void anyStartPropertyReplacesTheDefaultJar() {
        assertEquals(Collections.singletonMap("PROP_START_JAR", "app.jar"), LauncherMojo.startProperties(null, "app"));
        for (String start : LauncherMojo.START_PROPERTIES) {
            Map<String, String> given = Collections.singletonMap(start, "x");
            assertEquals(given, LauncherMojo.startProperties(given, "app"), start);
        }
    }

    @Test
    void skipWritesNothing() throws Exception {
        LauncherMojo mojo = mojo("app.exe");
        mojo.skip = true;
        mojo.kind = "no such kind";
        mojo.execute();
        assertFalse(mojo.outputFile.exists());
    }

    @Test
    void twoExecutionsWriteTwoLaunchersOfTheirOwnKinds() throws Exception {
        LauncherMojo gui = mojo("App.exe");
        LauncherMojo console = mojo("cli/app-cli.exe");
        console.kind = "console";
        console.architecture = "x86";
        console.properties = Collections.singletonMap("PROP_START_JAR", "cli.jar");
        gui.execute();
        console.execute();
        LauncherImage first = read(gui.outputFile), second = read(console.outputFile);
        assertEquals("app-1.2.3-SNAPSHOT.jar", first.property(101));
        assertEquals("cli.jar", second.property(101));
        assertTrue(!first.isConsole() && first.is64Bit());
        assertTrue(second.isConsole() && !second.is64Bit());
    }

    @Test
    void thePluginCarriesTheFourLaunchers() throws Exception {
        for (String architecture : new String[] {"x86", "x64"}) {
            for (String kind : new String[] {"gui", "console"}) {
                byte[] launcher = LauncherMojo.readLauncher(LauncherMojo.launcherResource(kind, architecture));
                LauncherImage image = LauncherImage.read(launcher, kind);
                assertEquals("console".equals(kind), image.isConsole(), architecture + " " + kind);
                assertEquals("x64".equals(architecture), image.is64Bit(), architecture + " " + kind);
            }
        }
    }

    @Test
    void theGoalIsLauncherInThePackagePhaseAndThreadSafe() throws IOException {
        try (InputStream in = getClass().getResourceAsStream("/META-INF/maven/plugin.xml");
             Scanner scanner = new Scanner(in, "UTF-8")) {
            String descriptor = scanner.useDelimiter("\\A").next();
            assertTrue(descriptor.contains("<goal>launcher</goal>"), descriptor);
            assertTrue(descriptor.contains("<phase>package</phase>"), descriptor);
            assertTrue(descriptor.contains("<threadSafe>true</threadSafe>"), descriptor);
            assertTrue(descriptor.contains("<goalPrefix>jarstart</goalPrefix>"), descriptor);
        }
    }

    private String failure(LauncherMojo mojo) {
        String message = assertThrows(MojoExecutionException.class, mojo::execute).getMessage();
        assertFalse(mojo.outputFile.exists(), "nothing written: " + message);
        return message;
    }

    @Test
    void badParametersFailTheBuildNamingTheParameter() throws Exception {
        Files.write(target.resolve("notes.txt"), "MZ but nothing more".getBytes(StandardCharsets.US_ASCII));
        LauncherMojo mojo = mojo("kind.exe");
        mojo.kind = "service";
        assertEquals("jarstart: parameter kind: \"service\" is neither gui nor console", failure(mojo));
        mojo = mojo("architecture.exe");
        mojo.architecture = "arm64";
        assertEquals("jarstart: parameter architecture: \"arm64\" is neither x64 nor x86", failure(mojo));
        mojo = mojo("properties.exe");
        mojo.properties = Collections.singletonMap("PROP_NOPE", "1");
        assertTrue(failure(mojo).startsWith("jarstart: parameter properties: unknown property \"PROP_NOPE\""));
        mojo = mojo("splash.exe");
        mojo.splash = target.resolve("notes.txt").toFile();
        assertEquals("jarstart: parameter splash: the splash image is no BMP, GIF or JPEG file", failure(mojo));
        mojo = mojo("icon.exe");
        mojo.icon = target.resolve("missing.ico").toFile();
        assertEquals("jarstart: parameter icon: cannot read " + mojo.icon + ": no such file or folder", failure(mojo));
        mojo = mojo("icon2.exe");
        mojo.icon = target.resolve("notes.txt").toFile();
        assertEquals("jarstart: parameter icon: not an icon file (no icon directory at its start)", failure(mojo));
        mojo = mojo("version.exe");
        mojo.fileVersion = "1.2.3.4.5";
        assertEquals("jarstart: parameter fileVersion: a version needs up to four numbers 0..65535 such as 1.2.3.4, got \"1.2.3.4.5\"",
                failure(mojo));
        mojo = mojo("project.exe");
        mojo.projectVersion = "dev";
        assertTrue(failure(mojo).startsWith("jarstart: parameter fileVersion: the project's version \"dev\""));
        mojo = mojo("folder");
        Files.createDirectories(target.resolve("folder"));
        String message = assertThrows(MojoExecutionException.class, mojo::execute).getMessage();
        assertTrue(message.startsWith("jarstart: parameter outputFile: cannot write "), message);
    }
}
