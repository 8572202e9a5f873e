// SPDX-License-Identifier: MIT
package org.xvantor.maven;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.apache.maven.plugin.AbstractMojo;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;
import org.apache.maven.plugins.annotations.Component;
import org.apache.maven.plugins.annotations.LifecyclePhase;
import org.apache.maven.plugins.annotations.Mojo;
import org.apache.maven.plugins.annotations.Parameter;
import org.apache.maven.project.MavenProject;
import org.sonatype.plexus.build.incremental.BuildContext;

/**
 * Translates every {@code *.jframe} file below the source folders into a {@code .java} file of
 * the same relative path in the generated-sources folders, and adds those to the compile
 * (and test compile) source roots. A file is translated again only when it, a file that its
 * last translation embedded, or the tool is newer than its output.
 */
@Mojo(name = "generate", defaultPhase = LifecyclePhase.GENERATE_SOURCES, threadSafe = true)
public class GenerateMojo extends AbstractMojo {
    static final String INPUT_ENDING = ".jframe";

    @Parameter(defaultValue = "${project}", readonly = true, required = true)
    private MavenProject project;

    /** The main sources with frame-text blocks. */
    @Parameter(defaultValue = "${project.basedir}/src/main/xvantor", required = true)
    private File sourceDirectory;

    /** Where the main sources' translations and support files go. */
    @Parameter(defaultValue = "${project.build.directory}/generated-sources/xvantor",
               required = true)
    private File outputDirectory;

    /** The test sources with frame-text blocks. */
    @Parameter(defaultValue = "${project.basedir}/src/test/xvantor", required = true)
    private File testSourceDirectory;

    /** Where the test sources' translations and support files go. */
    @Parameter(defaultValue = "${project.build.directory}/generated-test-sources/xvantor",
               required = true)
    private File testOutputDirectory;

    /**
     * Keeps every line of the input at its line number in the output, so that the compiler's
     * messages and stack traces name the lines of the {@code .jframe} file.
     */
    @Parameter(property = "xvantor.keepLines", defaultValue = "true")
    private boolean keepLines;

    /** The tool to run instead of the one that the plugin carries for this machine. */
    @Parameter(property = "xvantor.executable")
    private File executable;

    /** Translates nothing and adds no source root. */
    @Parameter(property = "xvantor.skip", defaultValue = "false")
    private boolean skip;

    /** Holds each input's dependency file, the tool taken out of the jar, and scratch files. */
    @Parameter(defaultValue = "${project.build.directory}/xvantor", readonly = true)
    private File workDirectory;

    @Component
    private BuildContext buildContext;

    @Override
    public void execute() throws MojoExecutionException, MojoFailureException {
        if (skip) {
            getLog().info("Skipped");
            return;
        }
        Tool tool = null;
        for (boolean bTest : new boolean[] {false, true}) {
            File source = bTest ? testSourceDirectory : sourceDirectory;
            File output = bTest ? testOutputDirectory : outputDirectory;
            File depfiles = new File(workDirectory, bTest ? "test" : "main");
            List<Path> inputs = inputsBelow(source.toPath());
            removeStale(source.toPath(), output.toPath(), depfiles.toPath());
            if (inputs.isEmpty())
                continue;
            if (tool == null)
                tool = Tool.locate(executable, workDirectory, getLog());
            int nTranslated = translate(tool, source.toPath(), inputs, output.toPath(),
                                        depfiles.toPath());
            getLog().info(nTranslated == 0
                ? "Nothing to translate in " + source
                : "Translated " + nTranslated + " of " + inputs.size() + " file(s) in " + source);
            if (bTest)
                project.addTestCompileSourceRoot(output.getPath());
            else
                project.addCompileSourceRoot(output.getPath());
            buildContext.refresh(output);
        }
    }

    private int translate(Tool tool, Path source, List<Path> inputs, Path output, Path depfiles)
        throws MojoExecutionException, MojoFailureException {
        Path scratch = workDirectory.toPath().resolve("support");
        Set<String> packages = new HashSet<>();
        int nTranslated = 0;
        for (Path input : inputs) {
            Path relative = source.relativize(input);
            Path javaFile = output.resolve(withEnding(relative, ".java"));
            Path depfile = depfiles.resolve(withEnding(relative, ".d"));
            if (Depfile.isUpToDate(javaFile, depfile, tool.file().toPath()))
                continue;
            buildContext.removeMessages(input.toFile());
            try {
                Files.createDirectories(javaFile.getParent());
                Files.createDirectories(depfile.getParent());
                Files.createDirectories(scratch);
            } catch (IOException e) {
                throw new MojoExecutionException("cannot create a folder: " + e.getMessage(), e);
            }
            Translation.Failure failure = Translation.run(tool, project.getBasedir(), input,
                                                          javaFile, depfile, scratch, keepLines);
            if (failure != null) {
                // The build context shows it in the editor, or logs it on the command line.
                buildContext.addMessage(input.toFile(), failure.nLine, failure.nColumn,
                                        failure.strMessage, BuildContext.SEVERITY_ERROR, null);
                throw new MojoFailureException(failure.located());
            }
            SupportFiles.place(scratch, output, packages);
            ++nTranslated;
        }
        return nTranslated;
    }

    // The translation of an input that is gone goes too, with its dependency file.
    private void removeStale(Path source, Path output, Path depfiles)
        throws MojoExecutionException {
        if (!Files.isDirectory(depfiles))
            return;
        try (Stream<Path> files = Files.walk(depfiles)) {
            for (Path depfile : files.filter(p -> p.toString().endsWith(".d"))
                                    .collect(Collectors.toList())) {
                Path relative = depfiles.relativize(depfile);
                if (Files.exists(source.resolve(withEnding(relative, INPUT_ENDING))))
                    continue;
                Path javaFile = output.resolve(withEnding(relative, ".java"));
                getLog().info("Removing " + javaFile + ": its input is gone");
                Files.deleteIfExists(javaFile);
                Files.delete(depfile);
                buildContext.refresh(javaFile.toFile());
            }
        } catch (IOException e) {
            throw new MojoExecutionException("cannot remove a stale file: " + e.getMessage(), e);
        }
    }

    private static List<Path> inputsBelow(Path source) throws MojoExecutionException {
        if (!Files.isDirectory(source))
            return new ArrayList<>();
        try (Stream<Path> files = Files.walk(source)) {
            return files.filter(p -> p.toString().endsWith(INPUT_ENDING) && Files.isRegularFile(p))
                .sorted()
                .collect(Collectors.toList());
        } catch (IOException e) {
            throw new MojoExecutionException("cannot list " + source + ": " + e.getMessage(), e);
        }
    }

    // "a/Page.jframe" or "a/Page.d" with another ending.
    static Path withEnding(Path relative, String strEnding) {
        String strName = relative.getFileName().toString();
        int nDot = strName.lastIndexOf('.');
        return relative.resolveSibling((nDot > 0 ? strName.substring(0, nDot) : strName)
                                       + strEnding);
    }
}
