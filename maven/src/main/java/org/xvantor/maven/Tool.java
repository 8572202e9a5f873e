// SPDX-License-Identifier: MIT
package org.xvantor.maven;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.Arrays;
import java.util.Locale;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.logging.Log;

/** The xvantor binary that a build runs: the one named, or the one carried for this machine. */
final class Tool {
    private final File m_file;

    private Tool(File file) {
        m_file = file;
    }

    File file() {
        return m_file;
    }

    /**
     * The named tool, or the plugin's own for this OS and architecture, copied out of the jar
     * into the work folder; the copy is rewritten only when its bytes differ, so that its
     * time, which every output is compared with, changes only with the tool.
     */
    static Tool locate(File named, File workDirectory, Log log) throws MojoExecutionException {
        if (named != null) {
            if (!named.isFile())
                throw new MojoExecutionException("xvantor.executable names no file: " + named);
            return new Tool(named.getAbsoluteFile());
        }
        String strPlatform = platform(System.getProperty("os.name", ""),
                                      System.getProperty("os.arch", ""));
        String strName = strPlatform != null && strPlatform.startsWith("windows")
            ? "xvantor.exe" : "xvantor";
        String strResource = "/xvantor/" + strPlatform + "/" + strName;
        try (InputStream in = strPlatform == null ? null
                                                  : Tool.class.getResourceAsStream(strResource)) {
            if (in == null)
                throw new MojoExecutionException(
                    "the XVantor plugin holds no xvantor for " + System.getProperty("os.name")
                    + " on " + System.getProperty("os.arch")
                    + " (it has linux-x64, linux-arm64 and windows-x64); set xvantor.executable"
                    + " to a build of the tool");
            byte[] bytes = in.readAllBytes();
            Path target = workDirectory.toPath().resolve("bin").resolve(strName);
            if (!Files.isRegularFile(target) || !Arrays.equals(Files.readAllBytes(target), bytes)) {
                Files.createDirectories(target.getParent());
                Path temporary = Files.createTempFile(target.getParent(), strName, ".new");
                Files.write(temporary, bytes);
                temporary.toFile().setExecutable(true);
                Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING,
                           StandardCopyOption.ATOMIC_MOVE);
                log.debug("Unpacked " + strResource + " into " + target);
            }
            return new Tool(target.toFile());
        } catch (IOException e) {
            throw new MojoExecutionException("cannot unpack the xvantor tool: " + e.getMessage(),
                                             e);
        }
    }

    // The folder of the jar that holds the tool for a JVM's os.name and os.arch, or null.
    static String platform(String strOs, String strArch) {
        String strOsName = strOs.toLowerCase(Locale.ROOT);
        String strArchName = strArch.toLowerCase(Locale.ROOT);
        boolean bX64 = strArchName.equals("amd64") || strArchName.equals("x86_64");
        boolean bArm64 = strArchName.equals("aarch64") || strArchName.equals("arm64");
        if (strOsName.startsWith("linux") && bX64)
            return "linux-x64";
        if (strOsName.startsWith("linux") && bArm64)
            return "linux-arm64";
        if (strOsName.startsWith("windows") && bX64)
            return "windows-x64";
        return null;
    }
}
