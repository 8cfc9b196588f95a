package org.jarstart.configure;

/** A resource type or name: a number, or a text (as the tree stores it, UTF-16). */
final class ResourceId implements Comparable<ResourceId> {
    final boolean isNumber;
    final int number;
    final String text;

    private ResourceId(boolean isNumber, int number, String text) {
        this.isNumber = isNumber;
        this.number = number;
        this.text = text;
    }

    static ResourceId number(int n) {
        return new ResourceId(true, n & 0xFFFF, "");
    }

    static ResourceId text(String t) {
        return new ResourceId(false, 0, t);
    }

    boolean is(int n) {
        return isNumber && number == n;
    }

    /**
     * The order of a resource directory: texts before numbers, texts by code
     * unit, numbers ascending; the loader searches the entries in this order.
     */
    @Override
    public int compareTo(ResourceId other) {
        if (isNumber != other.isNumber) return isNumber ? 1 : -1;
        return isNumber ? Integer.compare(number, other.number) : text.compareTo(other.text);
    }

    @Override
    public boolean equals(Object o) {
        return o instanceof ResourceId && compareTo((ResourceId) o) == 0;
    }

    @Override
    public int hashCode() {
        return isNumber ? number : text.hashCode() * 31 + 1;
    }

    @Override
    public String toString() {
        return isNumber ? Integer.toString(number) : '"' + text + '"';
    }
}
