package org.jarstart.configure;

/** One resource of an executable: its type, name, language and bytes. */
final class ResourceItem {
    final ResourceId type;
    final ResourceId name;
    final int language;
    final byte[] bytes;

    ResourceItem(ResourceId type, ResourceId name, int language, byte[] bytes) {
        this.type = type;
        this.name = name;
        this.language = language & 0xFFFF;
        this.bytes = bytes;
    }

    static ResourceItem numbered(int type, int name, int language, byte[] bytes) {
        return new ResourceItem(ResourceId.number(type), ResourceId.number(name), language, bytes);
    }
}
