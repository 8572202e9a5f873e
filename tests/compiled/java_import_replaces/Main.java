// Reading a file replaces the text; a file that cannot be read leaves it alone.
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

public class Main {
    public static void main(String[] args) {
        Holder twice = new Holder();
        twice.importFromFile("part.bin");
        twice.importFromFile("part.bin");
        MString head = new MString("head:");
        head.importFromFile("part.bin");
        MString kept = new MString("kept");
        // Reports the missing file on standard error and goes on.
        kept.importFromFile("missing.bin");
        Probe probe = new Probe();
        probe.describe(twice, head, kept);
        probe.exportToFile(new MString("out.bin"));
    }
}
