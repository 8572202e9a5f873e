// Hostile values rendered into HTML and JSON by blocks that escape them; escaped.py reads
// the output back.
#include <string>

frame Page {
public:
    void html(const std::string& v) {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}" FLAG_ESCAPE="html")
<p id="text">{{v}}</p>
<p title="{{v}}" data-x='{{v}}' lang={{v}} class=c{{v}}>x</p>
<a id="url" href="{{v}}">u</a><a id="part" href="/p/{{v}}?q={{v}}">p</a>
<button onclick="f({{v}}, '{{v}}')">b</button>
<script>var s = "{{v}}"; var e = {{v}};</script>
        END_FRAME_TEXT();
    }

    void json(const std::string& v, int n, const char* nul) {
        BEGIN_FRAME_TEXT(FLAG_ESCAPE="json")
{"s": "<!v!>", "v": <!v!>, "n": <!n!>, "z": <!nul!>, "list": [<!v!>, "x<!v!>", {"<!v!>": 1.5}]}
        END_FRAME_TEXT();
    }
};

int main() {
    MString mstrValues, mstrOut;
    mstrValues.importFromFile("values.bin");
    const std::string strValues = toStdString(mstrValues);
    Page page;
    for (size_t nStart = 0; nStart < strValues.size();) {
        const size_t nEnd = strValues.find('\0', nStart);
        const std::string v = strValues.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        page.html(v);
        mstrOut += MString(page) + MString("", 1);
        page.json(v, 7, nullptr);
        mstrOut += MString(page) + MString("", 1);
    }
    mstrOut.exportToFile("out.bin");
    return 0;
}
