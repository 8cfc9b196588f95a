package org.jarstart.example;

import java.awt.BorderLayout;
import java.awt.GraphicsEnvironment;

import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingConstants;
import javax.swing.SwingUtilities;

/** A window saying how it was started: what the launcher passed in. */
public final class DesktopApp {
    private DesktopApp() {}

    static String greeting(String launcher, String[] args) {
        String by = launcher == null ? "java -jar" : launcher;
        return "Desktop App, started by " + by + " with " + args.length + " argument(s)";
    }

    public static void main(String[] args) {
        String text = greeting(System.getProperty("desktop.app.launcher"), args);
        if (GraphicsEnvironment.isHeadless()) {
            System.out.println(text);
            return;
        }
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Desktop App");
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            frame.add(new JLabel(text, SwingConstants.CENTER), BorderLayout.CENTER);
            frame.setSize(420, 160);
            frame.setLocationRelativeTo(null);
            frame.setVisible(true);
        });
    }
}
