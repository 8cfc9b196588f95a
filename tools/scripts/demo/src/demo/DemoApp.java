package demo;

import java.awt.BorderLayout;
import java.awt.Font;
import java.awt.GridLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;

import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.SwingUtilities;
import javax.swing.WindowConstants;

/**
 * The demo application started by Demo.exe: one window that tells which
 * runtime runs it and what the launcher passed on.
 */
public final class DemoApp {
    private DemoApp() {
    }

    public static void main(final String[] args) {
        System.out.println("Demo application started with " + args.length + " argument(s)");
        SwingUtilities.invokeLater(new Runnable() {
            @Override
            public void run() {
                showWindow(args);
            }
        });
    }

    private static void showWindow(String[] args) {
        final JFrame frame = new JFrame("Jarstart Demo");
        frame.setDefaultCloseOperation(WindowConstants.EXIT_ON_CLOSE);

        JLabel title = new JLabel("Started by the jarstart launcher");
        title.setFont(title.getFont().deriveFont(Font.BOLD, 16f));

        JPanel facts = new JPanel(new GridLayout(0, 1, 4, 4));
        facts.add(new JLabel("Java version: " + System.getProperty("java.version")));
        facts.add(new JLabel("Java home: " + System.getProperty("java.home")));
        facts.add(new JLabel("Working directory: " + System.getProperty("user.dir")));
        facts.add(new JLabel("Arguments: " + join(args)));
        String flag = System.getProperty("demo.launcher");
        facts.add(new JLabel("VM parameter demo.launcher: " + (flag == null ? "(not set)" : flag)));

        JButton close = new JButton("Close");
        close.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                frame.dispose();
                System.exit(0);
            }
        });
        JPanel buttons = new JPanel();
        buttons.add(close);

        JPanel content = new JPanel(new BorderLayout(8, 8));
        content.setBorder(BorderFactory.createEmptyBorder(12, 12, 12, 12));
        content.add(title, BorderLayout.NORTH);
        content.add(facts, BorderLayout.CENTER);
        content.add(buttons, BorderLayout.SOUTH);
        frame.setContentPane(content);
        frame.pack();
        frame.setLocationRelativeTo(null);
        frame.setVisible(true);
    }

    private static String join(String[] args) {
        if (args.length == 0) {
            return "(none)";
        }
        StringBuilder text = new StringBuilder();
        for (String arg : args) {
            if (text.length() > 0) {
                text.append(' ');
            }
            text.append('[').append(arg).append(']');
        }
        return text.toString();
    }
}
