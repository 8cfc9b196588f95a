package org.jarstart.configure;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * The launcher properties: their ids and names, read from the launcher's own
 * property table (PropertyIds.h, packed beside this class), so that the
 * library accepts exactly the properties of the launchers it configures.
 */
public final class PropertyTable {
    private static final String HEADER = "PropertyIds.h";
    private static final Pattern ENUMERATOR = Pattern.compile("\\b(PROP_[A-Z0-9_]+)\\s*=\\s*(\\d+)\\s*,");
    private static final Pattern ROW = Pattern.compile("\\{\\s*(PROP_[A-Z0-9_]+)\\s*,\\s*\"(PROP_[A-Z0-9_]+)\"");
    // Last: it parses with the patterns above.
    private static final PropertyTable LAUNCHER = load();

    private final Map<String, Integer> idsByName;

    PropertyTable(Map<String, Integer> idsByName) {
        if (idsByName.isEmpty()) throw new IllegalStateException("the property table is empty");
        this.idsByName = Collections.unmodifiableMap(new LinkedHashMap<>(idsByName));
    }

    /** The table of the launchers this library carries the header of. */
    public static PropertyTable launcher() {
        return LAUNCHER;
    }

    /** Every property name with its id, in id order. */
    public Map<String, Integer> idsByName() {
        return idsByName;
    }

    public int firstId() {
        return idsByName.values().iterator().next();
    }

    public int lastId() {
        int last = 0;
        for (int id : idsByName.values()) last = id;
        return last;
    }

    /**
     * The known name nearest to key (case aside, PROP_ added where missing),
     * or "" when none is near: a third of the name may differ, as the tool
     * judges it.
     */
    public String nearestName(String key) {
        StringBuilder upper = new StringBuilder();
        for (char c : key.toCharArray()) upper.append(c >= 'a' && c <= 'z' ? (char) (c - 'a' + 'A') : c);
        String wanted = upper.toString().startsWith("PROP_") ? upper.toString() : "PROP_" + upper;
        String nearest = "";
        int best = 0;
        for (String name : idsByName.keySet()) {
            int distance = editDistance(wanted, name);
            if (nearest.isEmpty() || distance < best) {
                nearest = name;
                best = distance;
            }
        }
        return !nearest.isEmpty() && best * 3 <= nearest.length() - 5 ? nearest : "";
    }

    private static int editDistance(String a, String b) {
        int[] row = new int[b.length() + 1];
        for (int j = 0; j <= b.length(); ++j) row[j] = j;
        for (int i = 1; i <= a.length(); ++i) {
            int diagonal = row[0];
            row[0] = i;
            for (int j = 1; j <= b.length(); ++j) {
                int above = row[j];
                int replace = diagonal + (a.charAt(i - 1) == b.charAt(j - 1) ? 0 : 1);
                row[j] = Math.min(Math.min(above + 1, row[j - 1] + 1), replace);
                diagonal = above;
            }
        }
        return row[b.length()];
    }

    /** "96..111": the ids the tool's messages name. */
    public String idRange() {
        return firstId() + ".." + lastId();
    }

    /** The name of id, or "" for an id the launcher does not know. */
    public String nameOf(int id) {
        for (Map.Entry<String, Integer> e : idsByName.entrySet())
            if (e.getValue() == id) return e.getKey();
        return "";
    }

    /**
     * The id of a name from the table or of a decimal id within it; -1 for
     * anything else. Digits only, without sign, blanks or leading zeros that
     * would let "0101" pass for 101.
     */
    public int parseKey(String key) {
        Integer named = idsByName.get(key);
        if (named != null) return named;
        if (key.isEmpty() || key.length() > 3 || key.charAt(0) == '0') return -1;
        int value = 0;
        for (int i = 0; i < key.length(); ++i) {
            char c = key.charAt(i);
            if (c < '0' || c > '9') return -1;
            value = value * 10 + (c - '0');
        }
        // Ids the table skips are no properties either.
        return idsByName.containsValue(value) ? value : -1;
    }


    /**
     * The table of a PropertyIds.h text: the enumerators give the ids, the
     * rows of kLauncherProperties the names and their order. Throws when the
     * text is not such a table (ids not ascending, a row without id).
     */
    public static PropertyTable parseHeader(String header) {
        Map<String, Integer> ids = new HashMap<>();
        Matcher enumerator = ENUMERATOR.matcher(header);
        while (enumerator.find()) ids.put(enumerator.group(1), Integer.parseInt(enumerator.group(2)));
        int table = header.indexOf("kLauncherProperties[]");
        if (table < 0) throw new IllegalStateException("no kLauncherProperties table in " + HEADER);
        int end = header.indexOf("};", table);
        Matcher row = ROW.matcher(header.substring(table, end < 0 ? header.length() : end));
        Map<String, Integer> byName = new LinkedHashMap<>();
        List<Integer> order = new ArrayList<>();
        while (row.find()) {
            Integer id = ids.get(row.group(1));
            if (id == null) throw new IllegalStateException(row.group(1) + " has no id in " + HEADER);
            if (!order.isEmpty() && id <= order.get(order.size() - 1))
                throw new IllegalStateException("the property table of " + HEADER + " is not in id order");
            order.add(id);
            byName.put(row.group(2), id);
        }
        return new PropertyTable(byName);
    }

    private static PropertyTable load() {
        try (InputStream in = PropertyTable.class.getResourceAsStream(HEADER)) {
            if (in == null) throw new IllegalStateException(HEADER + " is missing from the library");
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            byte[] buffer = new byte[8192];
            for (int n; (n = in.read(buffer)) > 0; ) bytes.write(buffer, 0, n);
            return parseHeader(new String(bytes.toByteArray(), StandardCharsets.UTF_8));
        } catch (IOException e) {
            throw new IllegalStateException("cannot read " + HEADER + ": " + e.getMessage(), e);
        }
    }
}
