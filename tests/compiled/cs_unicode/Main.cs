// Non-ASCII text in a block and in the values spliced into it: the file holds the UTF-8 bytes
// of the whole text, and getUnicodeText() gives it back whatever the culture.
using System.IO;
using System.Text;

frame Piece {
    public void build() {
        BEGIN_FRAME_TEXT()
ß
        END_FRAME_TEXT();
    }
}

frame Greeting {
    public void build(string strName, MVantor piece) {
        BEGIN_FRAME_TEXT()
text: äöü € value: <!strName!> frame: <!piece!> char: <!'\u00e9'!> upper: <!new MString(MString.toString("zo\u00eb")).toUpper()!>
        END_FRAME_TEXT();
    }
}

public class Program {
    public static void Main() {
        Piece piece = new Piece();
        piece.build();
        Greeting greeting = new Greeting();
        greeting.build("Zo\u00eb \u4e2d \U0001F600", piece);
        greeting.exportToFile("out.bin");
        MString broken = new MString().importFromFile("broken.bin");
        using (StreamWriter writer = new StreamWriter("out.bin", true, new UTF8Encoding(false))) {
            writer.Write("\r\n" + greeting.getUnicodeText() + "\r\n" + broken.getUnicodeText());
        }
    }
}
