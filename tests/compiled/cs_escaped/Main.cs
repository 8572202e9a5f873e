// Hostile values rendered into HTML and JSON by blocks that escape them; escaped.py reads
// the output back.
using System.IO;
using System.Text;

frame Page {
    public void html(string v) {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}" FLAG_ESCAPE="html")
<p id="text">{{v}}</p>
<p title="{{v}}" data-x='{{v}}' lang={{v}} class=c{{v}}>x</p>
<a id="url" href="{{v}}">u</a><a id="part" href="/p/{{v}}?q={{v}}">p</a>
<button onclick="f({{v}}, '{{v}}')">b</button>
<script>var s = "{{v}}"; var e = {{v}};</script>
        END_FRAME_TEXT();
    }

    public void json(string v, int n, string nul) {
        BEGIN_FRAME_TEXT(FLAG_ESCAPE="json")
{"s": "<!v!>", "v": <!v!>, "n": <!n!>, "z": <!nul!>, "list": [<!v!>, "x<!v!>", {"<!v!>": 1.5}]}
        END_FRAME_TEXT();
    }
}

public class Program {
    public static void Main() {
        string strValues = new UTF8Encoding(false).GetString(File.ReadAllBytes("values.bin"));
        StringBuilder sb = new StringBuilder();
        Page page = new Page();
        foreach (string v in strValues.TrimEnd('\0').Split('\0')) {
            page.html(v);
            sb.Append(page.getFrameText()).Append('\0');
            page.json(v, 7, null);
            sb.Append(page.getFrameText()).Append('\0');
        }
        new MString(sb.ToString()).exportToFile("out.bin");
    }
}
