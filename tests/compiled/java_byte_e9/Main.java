// A byte read from a file widens with its sign and is written back unchanged.
frame Loaded {
}

frame Probe {
    public void describe(MVantor loaded, String text, MString copy) {
        BEGIN_FRAME_TEXT()
length=<!loaded.length()!>
codes=<!(int) text.charAt(0)!>,<!(int) text.charAt(1)!>,<!(int) text.charAt(2)!>,<!(int) text.charAt(3)!>,<!(int) text.charAt(4)!>
back=<!loaded!>
copy=<!copy!>
        END_FRAME_TEXT();
    }
}

public class Main {
    public static void main(String[] args) {
        Loaded loaded = new Loaded();
        loaded.importFromFile("e9.bin");
        String text = loaded.getFrameText();
        if (text.charAt(1) != (char) 0xffe9) {
            System.out.println("0xE9 was read as U+" + Integer.toHexString(text.charAt(1)));
            System.exit(1);
        }
        loaded.exportToFile("copy.bin");
        MString copy = new MString();
        copy.importFromFile("copy.bin");
        if (!copy.compare(text)) {
            System.out.println("copy.bin does not read back as e9.bin did");
            System.exit(1);
        }
        Probe probe = new Probe();
        probe.describe(loaded, text, copy);
        probe.exportToFile("out.bin");
    }
}
