package org.jarstart.configure;

/** A configuration that cannot be written; its message is one line, as jarstart-tool prints it. */
public class ConfigureException extends Exception {
    private static final long serialVersionUID = 1L;

    public ConfigureException(String message) {
        super(message);
    }
}
