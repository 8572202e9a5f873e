// Hostile values rendered into HTML and JSON by blocks that escape them; escaped.py reads
// the output back.
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;

frame Page {
    public void html(String v) {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}" FLAG_ESCAPE="html")
<p id="text">{{v}}</p>
<p title="{{v}}" data-x='{{v}}' lang={{v}} class=c{{v}}>x</p>
<a id="url" href="{{v}}">u</a><a id="part" href="/p/{{v}}?q={{v}}">p</a>
<button onclick="f({{v}}, '{{v}}')">b</button>
<script>var s = "{{v}}"; var e = {{v}};</script>
        END_FRAME_TEXT();
    }

    public void json(String v, int n, String nul) {
        BEGIN_FRAME_TEXT(FLAG_ESCAPE="json")
{"s": "<!v!>", "v": <!v!>, "n": <!n!>, "z": <!nul!>, "list": [<!v!>, "x<!v!>", {"<!v!>": 1.5}]}
        END_FRAME_TEXT();
    }
}

public class Main {
    public static void main(String[] args) throws Exception {
        String strValues = new String(Files.readAllBytes(Paths.get("values.bin")),
                                      StandardCharsets.UTF_8);
        StringBuilder sb = new StringBuilder();
        Page page = new Page();
        for (String v : strValues.split("\0")) {
            page.html(v);
            sb.append(page.getFrameText()).append('\0');
            page.json(v, 7, null);
            sb.append(page.getFrameText()).append('\0');
        }
        new MString(sb.toString()).exportToFile("out.bin");
    }
}
