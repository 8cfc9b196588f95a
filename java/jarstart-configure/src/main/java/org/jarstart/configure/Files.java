package org.jarstart.configure;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.NoSuchFileException;
import java.nio.file.NotDirectoryException;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.util.concurrent.ThreadLocalRandom;

/** The library's only contact with the file system, with the tool's reasons for its failures. */
final class Files {
    private Files() {}

    static final String NOT_FOUND = "no such file or folder";
    static final String ACCESS_DENIED = "access denied";
    static final String FOLDER = "it is a folder";
    static final String TOO_LARGE = "the file is larger than 2 GB";

    static String reason(IOException e) {
        if (e instanceof NoSuchFileException || e instanceof NotDirectoryException) return NOT_FOUND;
        if (e instanceof AccessDeniedException) return ACCESS_DENIED;
        String text = e instanceof FileSystemException ? ((FileSystemException) e).getReason() : e.getMessage();
        if (text == null) return e.getClass().getSimpleName();
        if (text.contains("Is a directory")) return FOLDER;
        if (text.contains("Not a directory")) return NOT_FOUND;
        return text;
    }

    /** The whole file; throws "cannot read PATH: REASON". */
    static byte[] read(Path path) throws ConfigureException {
        try {
            if (java.nio.file.Files.isDirectory(path)) throw new ConfigureException("cannot read " + path + ": " + FOLDER);
            if (java.nio.file.Files.size(path) > 0x7FFFFFFF)
                throw new ConfigureException("cannot read " + path + ": " + TOO_LARGE);
            return java.nio.file.Files.readAllBytes(path);
        } catch (IOException e) {
            throw new ConfigureException("cannot read " + path + ": " + reason(e));
        }
    }

    /**
     * Writes bytes to a temporary file beside path and renames it to path,
     * so that a failure never leaves a half-written output; the temporary
     * file is then gone.
     */
    static void replace(Path path, byte[] bytes) throws ConfigureException {
        if (java.nio.file.Files.isDirectory(path)) throw new ConfigureException("cannot write " + path + ": " + FOLDER);
        if (java.nio.file.Files.exists(path) && !java.nio.file.Files.isWritable(path))
            throw new ConfigureException("cannot write " + path + ": " + ACCESS_DENIED);
        Path folder = path.toAbsolutePath().getParent();
        Path temp = null;
        FileChannel channel = null;
        // CREATE_NEW with a name of our own: unlike a temporary file of the
        // platform's, the output gets the usual permissions.
        for (int attempt = 0; channel == null; ++attempt) {
            temp = folder.resolve("jst" + Long.toString(ThreadLocalRandom.current().nextLong() & Long.MAX_VALUE, 36));
            try {
                channel = FileChannel.open(temp, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
            } catch (java.nio.file.FileAlreadyExistsException e) {
                if (attempt > 100) throw new ConfigureException("cannot create a temporary file beside " + path + ": " + e);
            } catch (IOException e) {
                throw new ConfigureException("cannot create a temporary file beside " + path + ": " + reason(e));
            }
        }
        try {
            try {
                ByteBuffer buffer = ByteBuffer.wrap(bytes);
                while (buffer.hasRemaining()) channel.write(buffer);
                channel.force(true);
            } finally {
                channel.close();
            }
            java.nio.file.Files.move(temp, path, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
        } catch (IOException e) {
            try {
                java.nio.file.Files.deleteIfExists(temp);
            } catch (IOException ignored) {
                // the reason that matters is the first one
            }
            throw new ConfigureException("cannot write " + path + ": " + reason(e));
        }
    }
}
