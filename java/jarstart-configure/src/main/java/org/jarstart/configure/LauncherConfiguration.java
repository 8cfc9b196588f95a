package org.jarstart.configure;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;

/**
 * What a configured copy of a launcher gets: its properties, splash image,
 * icon and version information. The copy's bytes depend on nothing but the
 * launcher and this configuration, the same as jarstart-tool configure
 * writes for the same inputs.
 */
public final class LauncherConfiguration {
    private static final int NEUTRAL = 0;  // LANG_NEUTRAL, SUBLANG_NEUTRAL

    private final Map<Integer, String> properties = new TreeMap<>();
    private boolean keepProperties;
    private byte[] splash;
    private byte[] icon;
    private VersionInfo version;

    /**
     * Sets a property by name (PROP_START_JAR) or decimal id; "" makes it
     * absent. Throws the tool's message for a key the launcher does not know.
     */
    public LauncherConfiguration property(String key, String value) throws ConfigureException {
        PropertyTable table = PropertyTable.launcher();
        int id = table.parseKey(key);
        if (id < 0)
        {
            String nearest = table.nearestName(key);
            throw new ConfigureException("unknown property \"" + key + "\" (a name PROP_... or an id " + table.idRange()
                    + ")" + (nearest.isEmpty() ? ":" : ": did you mean " + nearest + "?")
                    + " jarstart-tool properties lists them all");
        }
        return property(id, value);
    }

    /** Sets a property by id; "" makes it absent. */
    public LauncherConfiguration property(int id, String value) throws ConfigureException {
        PropertyTable table = PropertyTable.launcher();
        if (table.nameOf(id).isEmpty())
            throw new ConfigureException("property id " + id + " is outside " + table.idRange());
        if (value.length() > StringBlock.MAX_LENGTH)
            throw new ConfigureException("a property value is longer than 65535 characters");
        properties.put(id, value);
        return this;
    }

    /**
     * Keeps the input's properties not set here. Without it a configuration
     * starts from no properties: the example's values (a keep-alive window, a
     * VM parameter of another product) must not ship with an application
     * whose vendor set only a few.
     */
    public LauncherConfiguration keepProperties(boolean keep) {
        keepProperties = keep;
        return this;
    }

    /**
     * The splash image file's bytes, stored unchanged. Throws when they are
     * no BMP, GIF or JPEG file, the kinds the launcher's picture loader shows.
     */
    public LauncherConfiguration splash(byte[] image) throws ConfigureException {
        if (!SplashImage.isImage(image)) throw new ConfigureException(SplashImage.NOT_AN_IMAGE);
        splash = image.clone();
        return this;
    }

    /** The splash image from a file; throws "cannot read FILE: REASON" or when it is no image. */
    public LauncherConfiguration splash(Path image) throws ConfigureException {
        return splash(Files.read(image));
    }

    /** The icon from an .ico file; throws "cannot read FILE: REASON" or when it is no icon file. */
    public LauncherConfiguration icon(Path iconFile) throws ConfigureException {
        return icon(Files.read(iconFile));
    }

    /** An .ico file: its images replace every icon of the launcher. Throws when it is no icon file. */
    public LauncherConfiguration icon(byte[] iconFile) throws ConfigureException {
        IconFile.resources(iconFile, NEUTRAL);
        icon = iconFile.clone();
        return this;
    }

    /** Replaces the launcher's version information. */
    public LauncherConfiguration version(VersionInfo info) {
        version = info;
        return this;
    }

    /**
     * The configured copy of launcher; input and output are the names the
     * messages use. The note, when not null, is a line the user must act on
     * although the copy is good (a signature was removed).
     */
    public Configured configure(byte[] launcher, String input, String output) throws ConfigureException {
        LauncherImage image = LauncherImage.read(launcher, input);
        List<ResourceItem> items = new ArrayList<>();
        int[] blocks = image.propertyBlocks();
        boolean fromExample = image.isExample();
        for (ResourceItem item : image.resources)
            if (!isReplaced(item, blocks, fromExample)) items.add(item);
        for (int block : blocks) {
            String[] strings = keepProperties ? image.block(block) : new String[StringBlock.STRINGS_PER_BLOCK];
            for (Map.Entry<Integer, String> p : properties.entrySet())
                if (StringBlock.blockOf(p.getKey()) == block)
                    strings[p.getKey() % StringBlock.STRINGS_PER_BLOCK] = p.getValue();
            // The first block is always written; a later one only when it
            // holds a value, as the native tool does, so a copy that sets
            // none of its properties has the bytes it had before they existed.
            if (block != blocks[0] && isEmpty(strings)) continue;
            items.add(ResourceItem.numbered(LauncherImage.RT_STRING, block, NEUTRAL, StringBlock.encode(strings)));
        }
        if (splash != null)
            items.add(ResourceItem.numbered(LauncherImage.SPLASH_TYPE, LauncherImage.SPLASH_ID, NEUTRAL, splash));
        if (icon != null) items.addAll(IconFile.resources(icon, NEUTRAL));
        if (version != null)
            items.add(ResourceItem.numbered(VersionInfo.RT_VERSION, VersionInfo.RESOURCE_ID, VersionInfo.LANGUAGE, version.encode()));
        ResourceWriter.Result written;
        try {
            written = ResourceWriter.write(launcher, items);
        } catch (ResourceWriter.Refused e) {
            throw new ConfigureException("cannot write the resources of " + output + ": " + input + " " + e.getMessage());
        }
        String note = written.removedSignature
                ? "note: " + input + " was signed; the signature no longer matched and was removed: sign " + output + " again"
                : null;
        return new Configured(written.image, note);
    }

    /**
     * Writes the configured copy of input to output, whole or not at all
     * (through a temporary file beside it). Returns the note, or null.
     */
    public String write(Path input, Path output) throws ConfigureException {
        byte[] launcher = Files.read(input);
        Configured configured = configure(launcher, input.toString(), output.toString());
        Files.replace(output, configured.bytes());
        return configured.note();
    }

    private static boolean isEmpty(String[] strings) {
        for (String text : strings)
            if (text != null && !text.isEmpty()) return false;
        return true;
    }

    private boolean isReplaced(ResourceItem item, int[] blocks, boolean fromExample) {
        // Every language of a property block goes: a second copy in another
        // language would leave two values for one id.
        for (int block : blocks)
            if (item.type.is(LauncherImage.RT_STRING) && item.name.is(block)) return true;
        // A configured copy is no longer the example, whatever it kept of it.
        if (LauncherImage.isExampleMarker(item)) return true;
        if (splash != null && item.type.is(LauncherImage.SPLASH_TYPE) && item.name.is(LauncherImage.SPLASH_ID)) return true;
        // A new icon replaces every icon: images of an old group left behind
        // would be dead weight, an old group a second icon.
        if (icon != null && (item.type.is(IconFile.RT_ICON) || item.type.is(IconFile.RT_GROUP_ICON))) return true;
        // jarstart.exe's own version information names the launcher, not the
        // application a copy starts: a copy names its product or nothing.
        if (fromExample && item.type.is(VersionInfo.RT_VERSION)) return true;
        return version != null && item.type.is(VersionInfo.RT_VERSION);
    }

    /** A configured launcher's bytes and the note that came with them. */
    public static final class Configured {
        private final byte[] bytes;
        private final String note;

        Configured(byte[] bytes, String note) {
            this.bytes = bytes;
            this.note = note;
        }

        public byte[] bytes() {
            return bytes.clone();
        }

        public String note() {
            return note;
        }

        /** Writes the bytes to output, whole or not at all (through a temporary file beside it). */
        public void write(Path output) throws ConfigureException {
            Files.replace(output, bytes);
        }
    }
}
