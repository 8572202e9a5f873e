// SPDX-License-Identifier: MIT
package org.example;

import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;

public class Main {
    // The title is the first argument; an empty one fails inside Page.makeHtml.
    public static void main(String[] args) throws Exception {
        PrintStream out = new PrintStream(new FileOutputStream(FileDescriptor.out), true, "UTF-8");
        Page page = new Page();
        page.make("Maven", 3);
        out.print(page.getUnicodeText());
        page.makeHtml(args.length > 0 ? args[0] : "Report");
        out.println(page.getUnicodeText());
    }
}
