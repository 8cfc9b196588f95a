package org.jarstart.maven;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.util.Arrays;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

import org.apache.maven.plugin.AbstractMojo;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugins.annotations.LifecyclePhase;
import org.apache.maven.plugins.annotations.Mojo;
import org.apache.maven.plugins.annotations.Parameter;
import org.jarstart.configure.ConfigureException;
import org.jarstart.configure.LauncherConfiguration;
import org.jarstart.configure.VersionInfo;

/**
 * Writes a configured jarstart launcher that starts the project's jar. The
 * work is the configure library's; this goal only maps its parameters and
 * the project's defaults onto it. It keeps no state between executions, so
 * several executions make several launchers, in parallel builds too.
 */
@Mojo(name = "launcher", defaultPhase = LifecyclePhase.PACKAGE, threadSafe = true)
public class LauncherMojo extends AbstractMojo {
    /** The properties that say what the launcher starts; with none of them, it starts the project's jar. */
    static final List<String> START_PROPERTIES = Arrays.asList("PROP_START_JAR", "PROP_MAIN_CLASS", "PROP_MAIN_MODULE");

    /** The launcher to write. */
    @Parameter(property = "jarstart.outputFile", defaultValue = "${project.build.directory}/${project.artifactId}.exe", required = true)
    File outputFile;

    /** gui (a window application, javaw.exe) or console (a command-line tool, java.exe). */
    @Parameter(property = "jarstart.kind", defaultValue = "gui")
    String kind;

    /** x64 (PE32+) or x86 (32-bit). */
    @Parameter(property = "jarstart.architecture", defaultValue = "x64")
    String architecture;

    /** Launcher properties by name, e.g. &lt;PROP_MIN_VERSION&gt;11&lt;/PROP_MIN_VERSION&gt;. */
    @Parameter
    Map<String, String> properties;

    /** A BMP, GIF or JPEG file shown while the application starts (with PROP_SPLASH). */
    @Parameter
    File splash;

    /** An .ico file: the launcher's icon. */
    @Parameter
    File icon;

    /** Up to four numbers 1.2.3.4; by default the project's version without its qualifier. */
    @Parameter
    String fileVersion;

    /** By default the project's name. */
    @Parameter
    String productName;

    /** By default the project's organization's name. */
    @Parameter
    String companyName;

    /** By default the project's description. */
    @Parameter
    String fileDescription;

    /** Left out by default. */
    @Parameter
    String copyright;

    /** Writes nothing. */
    @Parameter(property = "jarstart.skip", defaultValue = "false")
    boolean skip;

    @Parameter(defaultValue = "${project.version}", readonly = true)
    String projectVersion;

    @Parameter(defaultValue = "${project.name}", readonly = true)
    String projectName;

    @Parameter(defaultValue = "${project.organization.name}", readonly = true)
    String organizationName;

    @Parameter(defaultValue = "${project.description}", readonly = true)
    String projectDescription;

    @Parameter(defaultValue = "${project.build.finalName}", readonly = true)
    String finalName;

    @Override
    public void execute() throws MojoExecutionException {
        if (skip) {
            getLog().info("jarstart: skipped");
            return;
        }
        LauncherConfiguration configuration = new LauncherConfiguration();
        Map<String, String> settings = startProperties(properties, finalName);
        for (Map.Entry<String, String> p : settings.entrySet()) {
            try {
                configuration.property(p.getKey(), p.getValue() == null ? "" : p.getValue());
            } catch (ConfigureException e) {
                throw failure("properties", e.getMessage());
            }
        }
        if (splash != null) {
            try {
                configuration.splash(splash.toPath());
            } catch (ConfigureException e) {
                throw failure("splash", e.getMessage());
            }
        }
        if (icon != null) {
            try {
                configuration.icon(icon.toPath());
            } catch (ConfigureException e) {
                throw failure("icon", e.getMessage());
            }
        }
        configuration.version(versionInfo());

        String resource = launcherResource(kind, architecture);
        byte[] launcher = readLauncher(resource);
        File parent = outputFile.getAbsoluteFile().getParentFile();
        if (parent != null && !parent.isDirectory() && !parent.mkdirs())
            throw failure("outputFile", "cannot create the folder " + parent);
        String note;
        try {
            LauncherConfiguration.Configured configured =
                    configuration.configure(launcher, "the " + architecture + " " + kind + " launcher", outputFile.getPath());
            configured.write(outputFile.toPath());
            note = configured.note();
        } catch (ConfigureException e) {
            throw failure("outputFile", e.getMessage());
        }
        if (note != null) getLog().warn("jarstart: " + note);
        getLog().info("jarstart: wrote " + outputFile + " (" + architecture + " " + kind + " launcher)");
    }

    /**
     * The properties as given, and PROP_START_JAR set to the project's jar
     * when none of the start properties is given.
     */
    static Map<String, String> startProperties(Map<String, String> given, String finalName) {
        Map<String, String> settings = new LinkedHashMap<>();
        if (given != null) settings.putAll(given);
        boolean startsSomething = false;
        for (String name : START_PROPERTIES) startsSomething |= settings.containsKey(name);
        if (!startsSomething) settings.put("PROP_START_JAR", finalName + ".jar");
        return settings;
    }

    /** The version information: each part given, or the project's. */
    VersionInfo versionInfo() throws MojoExecutionException {
        String number = fileVersion;
        if (number == null || number.isEmpty()) {
            number = numericVersion(projectVersion);
            if (number == null)
                throw failure("fileVersion", "the project's version \"" + projectVersion
                        + "\" does not start with numbers 0..65535 such as 1.2.3; set fileVersion");
        }
        try {
            return new VersionInfo().version(number)
                    .product(orDefault(productName, projectName))
                    .company(orDefault(companyName, organizationName))
                    .description(orDefault(fileDescription, projectDescription))
                    .copyright(copyright);
        } catch (ConfigureException e) {
            throw failure("fileVersion", e.getMessage());
        }
    }

    /**
     * The four numbers of a project version without its qualifier:
     * 1.2.3-SNAPSHOT gives 1.2.3.0, 2 gives 2.0.0.0, 1.0-beta-2 gives
     * 1.0.0.0; null when it does not start with a number or a part is past
     * 65535. A fifth number and beyond are dropped, as Windows has four.
     */
    static String numericVersion(String version) {
        if (version == null) return null;
        int[] parts = new int[4];
        int count = 0, at = 0;
        while (count < 4) {
            int start = at;
            long value = 0;
            while (at < version.length() && Character.isDigit(version.charAt(at)) && version.charAt(at) < 0x80) {
                value = value * 10 + (version.charAt(at) - '0');
                if (value > 0xFFFF) return null;
                ++at;
            }
            if (at == start) break;
            parts[count++] = (int) value;
            if (at + 1 >= version.length() || version.charAt(at) != '.' || !Character.isDigit(version.charAt(at + 1))) break;
            ++at;
        }
        if (count == 0) return null;
        return parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3];
    }

    static String launcherResource(String kind, String architecture) throws MojoExecutionException {
        if (!"gui".equals(kind) && !"console".equals(kind))
            throw failure("kind", "\"" + kind + "\" is neither gui nor console");
        if (!"x64".equals(architecture) && !"x86".equals(architecture))
            throw failure("architecture", "\"" + architecture + "\" is neither x64 nor x86");
        return "launchers/" + architecture + "/" + ("gui".equals(kind) ? "jarstart.exe" : "jarstart-console.exe");
    }

    static byte[] readLauncher(String resource) throws MojoExecutionException {
        try (InputStream in = LauncherMojo.class.getResourceAsStream(resource)) {
            if (in == null) throw new MojoExecutionException("jarstart: the plugin carries no " + resource);
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            byte[] buffer = new byte[65536];
            for (int n; (n = in.read(buffer)) > 0; ) bytes.write(buffer, 0, n);
            return bytes.toByteArray();
        } catch (IOException e) {
            throw new MojoExecutionException("jarstart: cannot read the plugin's " + resource + ": " + e.getMessage(), e);
        }
    }

    private static String orDefault(String given, String fallback) {
        return given != null ? given : fallback == null ? "" : fallback;
    }

    static MojoExecutionException failure(String parameter, String message) {
        return new MojoExecutionException("jarstart: parameter " + parameter + ": " + message);
    }
}
