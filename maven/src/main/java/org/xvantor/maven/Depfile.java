// SPDX-License-Identifier: MIT
package org.xvantor.maven;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/** What the tool's dependency file says about the last translation of one input. */
final class Depfile {
    private Depfile() {}

    /**
     * Whether the output is newer than the tool and than every file that the last translation
     * read: the input and each embedded file, which the dependency file names in empty rules
     * ("FILE:"). A missing dependency file or a file that is gone needs a translation.
     */
    static boolean isUpToDate(Path output, Path depfile, Path tool) {
        try {
            if (!Files.isRegularFile(output) || !Files.isRegularFile(depfile))
                return false;
            long nOutputTime = Files.getLastModifiedTime(output).toMillis();
            List<Path> read = new ArrayList<>(dependencies(depfile));
            read.add(tool);
            for (Path file : read) {
                if (!Files.isRegularFile(file)
                    || Files.getLastModifiedTime(file).toMillis() > nOutputTime)
                    return false;
            }
            return true;
        } catch (IOException e) {
            return false;
        }
    }

    // The names of the empty rules, in Make's escapes: "\ ", "\#", "\:" and "$$".
    static List<Path> dependencies(Path depfile) throws IOException {
        List<Path> files = new ArrayList<>();
        for (String strLine : Files.readAllLines(depfile, StandardCharsets.UTF_8)) {
            if (!strLine.endsWith(":") || strLine.endsWith("\\:"))
                continue;
            StringBuilder name = new StringBuilder();
            for (int i = 0; i < strLine.length() - 1; ++i) {
                char c = strLine.charAt(i);
                if (c == '\\' && i + 1 < strLine.length() - 1
                    && " #:".indexOf(strLine.charAt(i + 1)) >= 0)
                    c = strLine.charAt(++i);
                else if (c == '$' && i + 1 < strLine.length() - 1 && strLine.charAt(i + 1) == '$')
                    ++i;
                name.append(c);
            }
            files.add(Paths.get(name.toString()));
        }
        return files;
    }
}
