package org.jarstart.configure;

import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/**
 * java -jar jarstart-configure.jar configure ...: the library from the
 * command line, with jarstart-tool configure's arguments, messages and exit
 * codes (0 written, 2 bad input), so that any build can call it and the two
 * can be compared.
 */
public final class Main {
    static final int BAD_INPUT = 2;
    private static final String USAGE = "usage:\n"
            + "  java -jar jarstart-configure.jar configure <launcher.exe> -o <out.exe> [--keep] [--set NAME=VALUE]...\n"
            + "       [--splash FILE] [--icon FILE.ico] [--version 1.2.3.4] [--product TEXT] [--company TEXT]\n"
            + "       [--description TEXT] [--copyright TEXT]\n";

    private Main() {}

    public static void main(String[] args) {
        int code = run(args);
        System.out.flush();
        System.exit(code);
    }

    static int run(String[] args) {
        if (args.length == 0) {
            System.err.print(USAGE);
            return BAD_INPUT;
        }
        try {
            String note = configure(args);
            if (note != null) System.err.println("jarstart-configure: " + note);
            return 0;
        } catch (ConfigureException e) {
            System.err.println("jarstart-configure: " + e.getMessage());
            return BAD_INPUT;
        }
    }

    static String configure(String[] args) throws ConfigureException {
        if (!args[0].equals("configure"))
            throw new ConfigureException("unknown command \"" + args[0] + "\" (configure)");
        LauncherConfiguration configuration = new LauncherConfiguration();
        String exe = null, output = null, splash = null, icon = null;
        String[] version = null;  // number, product, company, description, copyright
        List<String> versionOptions = java.util.Arrays.asList("--version", "--product", "--company", "--description", "--copyright");
        for (int i = 1; i < args.length; ++i) {
            String arg = args[i];
            int field = versionOptions.indexOf(arg);
            boolean takesValue = arg.equals("-o") || arg.equals("--set") || arg.equals("--splash") || arg.equals("--icon") || field >= 0;
            if (takesValue && i + 1 >= args.length) throw new ConfigureException(arg + " needs a value");
            if (arg.equals("-o")) {
                output = args[++i];
            } else if (arg.equals("--set")) {
                String setting = args[++i];
                int equals = setting.indexOf('=');
                if (equals < 0) throw new ConfigureException("--set needs NAME=VALUE, got \"" + setting + "\"");
                configuration.property(setting.substring(0, equals), setting.substring(equals + 1));
            } else if (arg.equals("--keep")) {
                configuration.keepProperties(true);
            } else if (arg.equals("--splash")) {
                splash = args[++i];
            } else if (arg.equals("--icon")) {
                icon = args[++i];
            } else if (field >= 0) {
                if (version == null) version = new String[] {"", "", "", "", ""};
                version[field] = args[++i];
            } else if (arg.startsWith("-")) {
                throw new ConfigureException("unknown option \"" + arg + "\" for configure");
            } else if (exe == null) {
                exe = arg;
            } else {
                throw new ConfigureException("configure takes one launcher, got a second: \"" + arg + "\"");
            }
        }
        if (exe == null) throw new ConfigureException("configure needs the launcher to copy");
        if (output == null || output.isEmpty()) throw new ConfigureException("configure needs -o <out.exe>");
        // The tool's order: files read first, then the version, then the icon taken apart.
        if (splash != null) configuration.splash(Files.read(Paths.get(splash)));
        byte[] iconBytes = icon == null ? null : Files.read(Paths.get(icon));
        if (version != null) {
            if (!version[0].isEmpty() && VersionInfo.parseNumber(version[0]) == null)
                throw new ConfigureException("--version needs up to four numbers 0..65535 such as 1.2.3.4, got \"" + version[0] + "\"");
            configuration.version(new VersionInfo().version(version[0]).product(version[1]).company(version[2])
                    .description(version[3]).copyright(version[4]));
        }
        if (iconBytes != null) configuration.icon(iconBytes);
        Path in = Paths.get(exe), out = Paths.get(output);
        return configuration.write(in, out);
    }
}
