// SPDX-License-Identifier: MIT
package org.xvantor.maven;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.Set;
import org.apache.maven.plugin.MojoExecutionException;

/**
 * Puts the support classes that the tool wrote for an input into the folder of the input's
 * package, once per package: two copies of one package would not compile together.
 */
final class SupportFiles {
    static final String[] NAMES = {"MString.java", "MVantor.java"};

    private SupportFiles() {}

    /**
     * Copies the support files from the scratch folder into the package's folder below the
     * output root, unless the package has been placed in this build already; a file whose
     * bytes are there already keeps its time.
     */
    static void place(Path scratch, Path outputRoot, Set<String> placed)
        throws MojoExecutionException {
        try {
            Path folder = outputRoot;
            String strPackage = packageOf(scratch.resolve(NAMES[0]));
            if (!placed.add(strPackage))
                return;
            if (!strPackage.isEmpty())
                folder = outputRoot.resolve(strPackage.replace('.', '/'));
            Files.createDirectories(folder);
            for (String strName : NAMES) {
                byte[] bytes = Files.readAllBytes(scratch.resolve(strName));
                Path target = folder.resolve(strName);
                if (!Files.isRegularFile(target) || !Arrays.equals(Files.readAllBytes(target), bytes))
                    Files.write(target, bytes);
            }
        } catch (IOException e) {
            throw new MojoExecutionException("cannot write the support files: " + e.getMessage(),
                                             e);
        }
    }

    // The tool writes "package NAME;" into the support files for an input in a package.
    static String packageOf(Path supportFile) throws IOException {
        for (String strLine : Files.readAllLines(supportFile, StandardCharsets.UTF_8)) {
            if (strLine.startsWith("package ") && strLine.endsWith(";"))
                return strLine.substring(8, strLine.length() - 1).trim();
        }
        return "";
    }
}
