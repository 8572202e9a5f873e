// Reading a file appends to the text; a file that cannot be read leaves it alone.
using System;

frame Holder {
}

frame Probe {
    public void describe(MVantor twice, MString head, MString kept) {
        BEGIN_FRAME_TEXT()
twice=<!twice!>;length=<!twice.length()!>
head=<!head!>
kept=<!kept!>
        END_FRAME_TEXT();
    }
}

public class Program {
    public static int Main() {
        Holder twice = new Holder();
        twice.importFromFile("part.bin");
        twice.importFromFile("part.bin");
        MString head = new MString("head:");
        head.importFromFile("part.bin");
        MString kept = new MString("kept");
        // Reports the missing file on the console and goes on.
        kept.importFromFile("missing.bin");
        Probe probe = new Probe();
        probe.describe(twice, head, kept);
        probe.exportToFile(new MString("out.bin"));
        return 0;
    }
}
