package org.jarstart.configure;

import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.file.Path;
import java.nio.file.Paths;

/** The launchers of the launcher build the tests configure (build/, build/x64/). */
final class Launchers {
    private Launchers() {}

    static final String[] ALL = {"jarstart.exe", "jarstart-console.exe", "x64/jarstart.exe", "x64/jarstart-console.exe"};

    static Path path(String name) {
        Path path = Paths.get(System.getProperty("jarstart.launchers", "../../build"), name);
        assertTrue(java.nio.file.Files.isRegularFile(path), path + " is missing: build the launchers first (make)");
        return path;
    }

    static byte[] bytes(String name) throws IOException {
        return java.nio.file.Files.readAllBytes(path(name));
    }
}
