package org.jarstart.configure;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Paths;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

import org.junit.jupiter.api.Test;

class PropertyTableTest {
    private static String sourceHeader() throws IOException {
        return new String(java.nio.file.Files.readAllBytes(
                Paths.get(System.getProperty("jarstart.base", "../../base"), "PropertyIds.h")), StandardCharsets.UTF_8);
    }

    @Test
    void theLibrarysTableIsTheLaunchersPropertyIdsHeader() throws IOException {
        assertEquals(PropertyTable.parseHeader(sourceHeader()).idsByName(), PropertyTable.launcher().idsByName());
    }

    @Test
    void everyPropertyTheLauncherNamesIsInTheTableWithItsId() throws IOException {
        Matcher enumerator = Pattern.compile("(PROP_[A-Z0-9_]+) = (\\d+),").matcher(sourceHeader());
        int count = 0;
        while (enumerator.find()) {
            assertEquals(Integer.valueOf(enumerator.group(2)), PropertyTable.launcher().idsByName().get(enumerator.group(1)),
                    enumerator.group(1));
            ++count;
        }
        assertEquals(count, PropertyTable.launcher().idsByName().size());
        assertEquals(96, PropertyTable.launcher().firstId());
        assertEquals("PROP_START_JAR", PropertyTable.launcher().nameOf(101));
    }

    @Test
    void keysAreNamesOrPlainDecimalIdsOfTheTable() {
        PropertyTable table = PropertyTable.launcher();
        assertEquals(101, table.parseKey("PROP_START_JAR"));
        assertEquals(101, table.parseKey("101"));
        assertEquals(table.lastId(), table.parseKey(Integer.toString(table.lastId())));
        for (String bad : new String[] {"0101", "+101", " 101", "95", Integer.toString(table.lastId() + 1), "prop_start_jar", "", "1e2"})
            assertEquals(-1, table.parseKey(bad), bad);
    }

    @Test
    void aHeaderWhoseIdsDoNotAscendIsRefused() {
        String header = "enum LauncherProperty { PROP_A = 97, PROP_B = 96, };\n"
                + "inline constexpr LauncherPropertyInfo kLauncherProperties[] = {\n"
                + "    {PROP_A, \"PROP_A\", true},\n    {PROP_B, \"PROP_B\", true},\n};\n";
        IllegalStateException e = assertThrows(IllegalStateException.class, () -> PropertyTable.parseHeader(header));
        assertTrue(e.getMessage().contains("id order"), e.getMessage());
    }
}
