// A byte read from a file becomes the character of the same number and is written back.
using System;

frame Loaded {
}

frame Probe {
    public void describe(MVantor loaded, string text, MString copy) {
        BEGIN_FRAME_TEXT()
length=<!loaded.length()!>
codes=<!(int) text[0]!>,<!(int) text[1]!>,<!(int) text[2]!>,<!(int) text[3]!>,<!(int) text[4]!>
back=<!loaded!>
copy=<!copy!>
        END_FRAME_TEXT();
    }
}

public class Program {
    public static int Main() {
        Loaded loaded = new Loaded();
        loaded.importFromFile("e9.bin");
        string text = loaded.getFrameText();
        if (text[1] != (char) 0xe9) {
            Console.WriteLine("0xE9 was read as U+" + ((int) text[1]).ToString("x4"));
            return 1;
        }
        loaded.exportToFile("copy.bin");
        MString copy = new MString();
        copy.importFromFile("copy.bin");
        if (!copy.compare(text)) {
            Console.WriteLine("copy.bin does not read back as e9.bin did");
            return 1;
        }
        Probe probe = new Probe();
        probe.describe(loaded, text, copy);
        probe.exportToFile("out.bin");
        return 0;
    }
}
