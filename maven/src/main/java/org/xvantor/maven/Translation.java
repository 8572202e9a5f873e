// SPDX-License-Identifier: MIT
package org.xvantor.maven;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.apache.maven.plugin.MojoExecutionException;

/** One run of the tool on one input. */
final class Translation {
    // Quiet, the tool prints nothing on success and one line on failure: either
    // "INPUT:LINE:COLUMN: error: XFnnnn: TEXT" or "xvantor: error: TEXT".
    private static final Pattern LOCATED =
        Pattern.compile("^(.+):(\\d+):(\\d+): error: (XF\\d+: .*)$");
    private static final String UNLOCATED = "xvantor: error: ";

    /** What a failed run reports. */
    static final class Failure {
        final Path input;
        final int nLine;
        final int nColumn;
        final String strMessage;

        Failure(Path input, int nLine, int nColumn, String strMessage) {
            this.input = input;
            this.nLine = nLine;
            this.nColumn = nColumn;
            this.strMessage = strMessage;
        }

        /** The form of Maven's compiler messages: "FILE:[LINE,COLUMN] TEXT". */
        String located() {
            return nLine > 0 ? input + ":[" + nLine + "," + nColumn + "] " + strMessage
                             : input + ": " + strMessage;
        }
    }

    private Translation() {}

    /**
     * Translates the input as Java into the output, writing the dependency file and the
     * support files into the scratch folder. Returns null on success. The tool runs in the
     * project's folder, where relative names of embedded files resolve.
     */
    static Failure run(Tool tool, File baseDirectory, Path input, Path output, Path depfile,
                       Path supportDirectory, boolean bKeepLines) throws MojoExecutionException {
        List<String> command = new ArrayList<>();
        command.add(tool.file().getPath());
        command.add("-j");
        command.add(input.toString());
        command.add(output.toString());
        command.add("--quiet");
        command.add("--depfile");
        command.add(depfile.toString());
        command.add("--support-dir");
        command.add(supportDirectory.toString());
        if (bKeepLines)
            command.add("--line-directives");
        String strPrinted;
        int nStatus;
        try {
            Process process = new ProcessBuilder(command).directory(baseDirectory)
                                  .redirectErrorStream(true)
                                  .start();
            process.getOutputStream().close();
            ByteArrayOutputStream printed = new ByteArrayOutputStream();
            try (InputStream in = process.getInputStream()) {
                in.transferTo(printed);
            }
            nStatus = process.waitFor();
            strPrinted = printed.toString(StandardCharsets.UTF_8).trim();
        } catch (IOException e) {
            throw new MojoExecutionException("cannot run " + tool.file() + ": " + e.getMessage(),
                                             e);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new MojoExecutionException("interrupted while translating " + input, e);
        }
        if (nStatus == 0)
            return null;
        for (String strLine : strPrinted.split("\\R")) {
            Matcher located = LOCATED.matcher(strLine);
            if (located.matches())
                return new Failure(input, Integer.parseInt(located.group(2)),
                                   Integer.parseInt(located.group(3)), located.group(4));
        }
        String strMessage = strPrinted.startsWith(UNLOCATED)
            ? strPrinted.substring(UNLOCATED.length()) : strPrinted;
        return new Failure(input, 0, 0,
                           strMessage.isEmpty() ? "xvantor failed with status " + nStatus
                                                : strMessage);
    }
}
