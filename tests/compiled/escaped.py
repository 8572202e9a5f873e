# SPDX-License-Identifier: MIT
"""The hostile values of the escaped cases and the check of what their programs render.

Each case program reads values.bin (the values below, each followed by NUL), renders for
each value an HTML page and a JSON text from blocks with FLAG_ESCAPE, and writes them to
out.bin, each followed by NUL. The page must keep its tags and attributes whatever the
value, and every place must read back as the value itself.
"""

import html.parser
import json
import re
import urllib.parse

HOSTILE = ["plain", "", '"><script>alert(1)</script>', "' onmouseover='alert(1)' x='",
           "</script><script>alert(1)</script>", " JaVaScRiPt :alert(1)",
           "java\tscript:alert(1)", "https://example.org/a b?c=d&e='f'#g", "mailto:a@b.org",
           "line\u2028sep\u2029para\nnew\r\nline\ttab", 'back\\slash\\" \\u0041 \\',
           "${alert(1)}`tick`", "<!-- x --> <![CDATA[ y ]]> </p", "&amp; &lt; &#39; =a b",
           "Zo\u00eb \u4e2d \U0001F600", "</ScRiPt >", "-->"]

# The tags of the page and the names of their attributes, whatever the value.
STRUCTURE = [("p", ["id"]), "/p", ("p", ["title", "data-x", "lang", "class"]), "/p",
             ("a", ["id", "href"]), "/a", ("a", ["id", "href"]), "/a",
             ("button", ["onclick"]), "/button", ("script", []), "/script"]


def values_bin():
    return b"".join(value.encode("utf-8") + b"\0" for value in HOSTILE)


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.structure, self.attributes, self.texts, self.inside = [], {}, {}, None

    def handle_starttag(self, tag, attrs):
        self.inside = "%s%d" % (tag, len(self.structure))
        self.structure.append((tag, [name for name, _ in attrs]))
        self.attributes.update((tag + "." + name, value) for name, value in attrs
                               if tag + "." + name not in self.attributes)
        self.attributes.update(("#" + value + ".href", dict(attrs).get("href"))
                               for name, value in attrs if name == "id" and tag == "a")

    def handle_endtag(self, tag):
        self.structure.append("/" + tag)
        self.inside = None

    def handle_data(self, data):
        if self.inside:
            self.texts[self.inside] = self.texts.get(self.inside, "") + data

    def handle_comment(self, data):
        self.structure.append("comment")


def safe_url(value):
    scheme, colon, rest = value.partition(":")
    if not colon or any(c in scheme for c in "/?#"):
        return True
    return "".join(c for c in scheme if c > " ").lower() in ("http", "https", "mailto")


def problems_of(value, page_text, json_text):
    """What does not read back as it should, for one value."""
    page = Page()
    page.feed(page_text)
    page.close()
    a = page.attributes
    script = page.texts.get("script10", "")
    onclick = re.fullmatch(r"f\((\".*?\"), '(.*)'\)", a.get("button.onclick") or "")
    found = re.fullmatch(r'var s = "(.*)"; var e = (".*");', script)
    url = a.get("#url.href")
    part = (a.get("#part.href") or "").partition("?q=")
    read = {
        "structure": (page.structure, STRUCTURE),
        "text": (page.texts.get("p0", ""), value),
        "title": (a.get("p.title"), value), "data-x": (a.get("p.data-x"), value),
        "lang": (a.get("p.lang"), value), "class": (a.get("p.class"), "c" + value),
        "url": (urllib.parse.unquote(url) if safe_url(value) else url,
                value if safe_url(value) else "#"),
        "url part": ([urllib.parse.unquote(part[0][3:]), urllib.parse.unquote(part[2])],
                     [value, value]),
        "handler": (onclick and [json.loads(onclick.group(1)),
                                 json.loads('"%s"' % onclick.group(2))], [value, value]),
        "script": (found and [json.loads('"%s"' % found.group(1)), json.loads(found.group(2))],
                   [value, value]),
        "json": (json.loads(json_text), {"s": value, "v": value, "n": 7, "z": None,
                                         "list": [value, "x" + value, {value: 1.5}]}),
    }
    return ["%s reads %r, not %r" % (place, actual, expected)
            for place, (actual, expected) in read.items() if actual != expected]


def check(out):
    """Every problem of a case's out.bin, as lines of text."""
    texts = out.decode("utf-8").split("\0")
    if len(texts) != 2 * len(HOSTILE) + 1:
        return ["out.bin holds %d texts, not %d" % (len(texts) - 1, 2 * len(HOSTILE))]
    return ["value %r: %s" % (value, problem) for i, value in enumerate(HOSTILE)
            for problem in problems_of(value, texts[2 * i], texts[2 * i + 1])]
