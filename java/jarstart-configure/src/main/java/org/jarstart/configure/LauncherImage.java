package org.jarstart.configure;

import java.util.Arrays;
import java.util.List;

/**
 * A launcher executable as the library reads it: all its resources, the
 * launcher properties and the splash image, as the launcher would see them.
 */
public final class LauncherImage {
    static final int RT_STRING = 6;
    static final int RT_RCDATA = 10;
    /** The splash image: a whole image file as resource type 2 (RT_BITMAP's number), id 104. */
    static final int SPLASH_TYPE = 2;
    static final int SPLASH_ID = 104;
    static final int SUBSYSTEM_GUI = 2;
    static final int SUBSYSTEM_CONSOLE = 3;

    final byte[] bytes;
    final PeImage.Layout layout;
    final List<ResourceItem> resources;

    private LauncherImage(byte[] bytes, PeImage.Layout layout, List<ResourceItem> resources) {
        this.bytes = bytes;
        this.layout = layout;
        this.resources = resources;
    }

    /**
     * Reads a launcher from its bytes; name is how messages call it. Throws
     * when the bytes are not a PE executable or its resources are damaged.
     */
    public static LauncherImage read(byte[] bytes, String name) throws ConfigureException {
        PeImage.Layout layout = PeImage.readLayout(bytes);
        if (layout == null) throw new ConfigureException(name + " is not a PE executable");
        List<ResourceItem> resources = PeImage.readResources(bytes, layout);
        if (resources == null) throw new ConfigureException(name + " has a damaged resource section");
        LauncherImage image = new LauncherImage(bytes, layout, resources);
        for (int block : image.propertyBlocks()) {
            ResourceItem item = image.findAsLoaderDoes(RT_STRING, block);
            if (item != null && StringBlock.decode(item.bytes) == null)
                throw new ConfigureException(name + " has a damaged string table");
        }
        return image;
    }

    /** True for a console launcher (subsystem 3), false for a GUI one. */
    public boolean isConsole() {
        return layout.subsystem == SUBSYSTEM_CONSOLE;
    }

    /** True for a 64-bit (PE32+) launcher. */
    public boolean is64Bit() {
        return layout.magic == PeImage.MAGIC_PE32_PLUS;
    }

    /** The value of a property id as the launcher reads it; "" when absent. */
    public String property(int id) {
        ResourceItem item = findAsLoaderDoes(RT_STRING, StringBlock.blockOf(id));
        if (item == null) return "";
        String[] strings = StringBlock.decode(item.bytes);
        return strings == null ? "" : strings[id % StringBlock.STRINGS_PER_BLOCK];
    }

    /** The splash image's bytes, or null when the launcher has none. */
    public byte[] splash() {
        ResourceItem item = findAsLoaderDoes(SPLASH_TYPE, SPLASH_ID);
        return item == null ? null : item.bytes.clone();
    }

    /** The resource of (type, id) with the lowest language, or null; for checks of a written launcher. */
    public byte[] resource(int type, int id) {
        ResourceItem item = findAsLoaderDoes(type, id);
        return item == null ? null : item.bytes.clone();
    }

    /** The unconfigured launcher as built carries RCDATA "EXAMPLE": its properties are an example. */
    public boolean isExample() {
        for (ResourceItem item : resources)
            if (isExampleMarker(item)) return true;
        return false;
    }

    static boolean isExampleMarker(ResourceItem item) {
        return item.type.is(RT_RCDATA) && !item.name.isNumber && item.name.text.equals("EXAMPLE");
    }

    /** The string blocks the launcher's properties live in. */
    int[] propertyBlocks() {
        PropertyTable table = PropertyTable.launcher();
        int first = StringBlock.blockOf(table.firstId()), last = StringBlock.blockOf(table.lastId());
        int[] blocks = new int[last - first + 1];
        for (int i = 0; i < blocks.length; ++i) blocks[i] = first + i;
        return blocks;
    }

    /**
     * The resource the loader's FindResource picks for a program that asks in
     * no particular language: the neutral one, else US English, else
     * English, else the first. Null when there is none.
     */
    ResourceItem findAsLoaderDoes(int type, int id) {
        ResourceItem first = null;
        for (int language : new int[] {0x0000, 0x0409, 0x0009}) {
            for (ResourceItem item : resources) {
                if (!item.type.is(type) || !item.name.is(id)) continue;
                if (first == null) first = item;
                if (item.language == language) return item;
            }
        }
        return first;
    }

    /** The strings of a property block as the loader picks it; all empty when there is none. */
    String[] block(int block) {
        ResourceItem item = findAsLoaderDoes(RT_STRING, block);
        String[] strings = item == null ? null : StringBlock.decode(item.bytes);
        if (strings == null) {
            strings = new String[StringBlock.STRINGS_PER_BLOCK];
            Arrays.fill(strings, "");
        }
        return strings;
    }
}
