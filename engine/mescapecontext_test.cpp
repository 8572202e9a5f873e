// SPDX-License-Identifier: MIT
#include "engine/mescapecontext.h"

#include <gtest/gtest.h>

namespace {

// The escaper of the last "{{v}}" of the text, or "refused: " and the place named.
std::string placeOfLastValue(MEscapeMode mode, const std::string& strText) {
    std::vector<std::string> literals(1);
    for (size_t i = 0; i < strText.size();) {
        if (strText.compare(i, 5, "{{v}}") == 0) {
            literals.emplace_back();
            i += 5;
        } else {
            literals.back() += strText[i++];
        }
    }
    MHtmlContext html;
    MJsonContext json;
    std::string strPlace;
    for (size_t i = 0; i + 1 < literals.size(); ++i) {
        const std::string& strNext = literals[i + 1];
        MEscaper escaper = MEscaper::Html;
        std::string strRefused;
        bool bFound = false;
        if (mode == MEscapeMode::Html) {
            html.feed(literals[i].data(), literals[i].size());
            bFound =
                html.valueHere(strNext.data(), strNext.size(),
                               strNext.empty() && i + 2 < literals.size(), escaper, strRefused);
        } else {
            json.feed(literals[i].data(), literals[i].size());
            bFound = json.valueHere(escaper, strRefused);
        }
        if (!bFound)
            return "refused: " + strRefused;
        strPlace = escaperName(escaper);
    }
    return strPlace;
}

}  // namespace

TEST(MEscapeContext, FindsTheEscaperOfEachPlaceOrRefusesIt) {
    const MEscapeMode h = MEscapeMode::Html;
    const MEscapeMode j = MEscapeMode::Json;
    const struct {
        MEscapeMode mode;
        const char* pszText;
        const char* pszExpected;
    } rows[] = {
        {h, "<p>{{v}}</p>", "escapeHtml"},
        {h, "<p>a < b {{v}}", "escapeHtml"},
        {h, "<a title=\"{{v}}\">", "escapeHtml"},
        {h, "<a title='x {{v}}'>", "escapeHtml"},
        {h, "<a title={{v}}>", "quoteHtml"},
        {h, "<a title={{v}} id=x>", "quoteHtml"},
        {h, "<a title=x{{v}}>", "escapeHtmlUnquoted"},
        {h, "<a title={{v}}px>", "escapeHtmlUnquoted"},
        {h, "<a title={{v}}{{v}}>", "refused: an unquoted attribute value that two values begin"},
        {h, "<a href=\"{{v}}\">", "escapeUrl"},
        {h, "<a data-href=' {{v}}/x'>", "escapeUrl"},
        {h, "<a href=\"/users/{{v}}?q={{v}}\">", "escapeUrlPart"},
        {h, "<img src=\"{{v}}{{v}}\">", "escapeUrlPart"},
        {h, "<a href=\"{{v}}x:y\">", "refused: a URL whose scheme a value begins"},
        {h, "<a href=\"JavaScript:{{v}}\">", "refused: a javascript: URL"},
        {h, "<a href={{v}}>", "refused: an unquoted URL attribute"},
        {h, "<script>var s = \"{{v}}\";</script>", "escapeJsString"},
        {h, "<script>var s = 'a\\'{{v}}';</script>", "escapeJsString"},
        {h, "<script>var n = {{v}};</script>", "quoteJs"},
        {h, "<script>f(a / {{v}}, /re/.x, b++ / {{v}})", "quoteJs"},
        {h, "<script>x = /{{v}}/;", "refused: a JS regular expression"},
        {h, "<script>x = y(/[/]{{v}}/)", "refused: a JS regular expression"},
        {h, "<script>x = `a ${b} {{v}}`", "refused: JS that the tokenizer can not follow"},
        {h, "<script>x = `a{{v}}`", "refused: a JS template literal"},
        {h, "<script>// {{v}}", "refused: a JS comment"},
        {h, "<script>/* a */ {{v}} /* {{v}} */", "refused: a JS comment"},
        {h, "<script>if (a) {} / {{v}}", "refused: JS that the tokenizer can not follow"},
        {h, "<script>x = \"</scr{{v}}", "refused: what may be the end tag of <script>"},
        {h, "<script><!-- x = {{v}}", "refused: a script that holds \"<!--\""},
        {h, "<script>x = 1;</SCRIPT ><p>{{v}}", "escapeHtml"},
        {h, "<script type=\" Module \" type=x>var n = {{v}};", "quoteJs"},
        {h, "<script language=JavaScript type=text/javascript1.5>var n = {{v}};", "quoteJs"},
        {h, "<script type=\"text/template\"><p>{{v}}",
         "refused: a <script> of type \"text/template\""},
        {h, "<script type=application/ld+json>{\"a\": \"{{v}}\"}",
         "refused: a <script> of type \"application/ld+json\""},
        {h, "<script language=\"VBScript\">x = {{v}}",
         "refused: a <script> of type \"text/vbscript\""},
        {h, "<script type=\"{{v}}\">x = {{v}}", "refused: a <script> whose type a value gives"},
        {h, "<button onclick=\"f({{v}})\">", "quoteJsAttribute"},
        {h, "<button onclick=\"f('{{v}}')\">", "escapeJsString"},
        {h, "<button onclick=\"a && f(&quot;{{v}}&quot;)\">", "escapeJsString"},
        {h, "<button onclick=\"f(&#34x{{v}})\">", "refused: a character reference"},
        {h, "<button onclick={{v}}>", "refused: an unquoted event attribute"},
        {h, "<p style=\"color: {{v}}\">", "refused: a style attribute"},
        {h, "<style>p { color: {{v}} }</style>", "refused: a <style> element"},
        {h, "<title>{{v}}</title>", "escapeHtml"},
        {h, "<{{v}}>", "refused: a tag name"},
        {h, "</p{{v}}>", "refused: a tag name"},
        {h, "<p {{v}}=\"x\">", "refused: an attribute name"},
        {h, "<p id=\"x\"{{v}}>", "refused: an attribute name"},
        {h, "<!-- {{v}} -->", "refused: an HTML comment"},
        {h, "<!DOCTYPE {{v}}>", "refused: an HTML comment"},
        {h, "<!-- a --><!--><p>{{v}}", "escapeHtml"},
        {h, "<!DOCTYPE html><p>{{v}}", "escapeHtml"},
        {j, "{\"a\": {{v}}}", "quoteJson"},
        {j, "[1, {\"b\": [{{v}}, {{v}}]}]", "quoteJson"},
        {j, "{\"a\": \"x{{v}}\"}", "escapeJsonString"},
        {j, "{\"{{v}}\": 1}", "escapeJsonString"},
        {j, "{{{v}}: 1}", "refused: an unquoted JSON key"},
        {j, "{\"a\": 1, {{v}}: 2}", "refused: an unquoted JSON key"},
        {j, "{\"a\": 1 {{v}}", "refused: JSON that the tokenizer can not follow"},
        {j, "{\"a\": \"\\{{v}}\"}", "refused: a JSON escape sequence"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszText);
        EXPECT_EQ(row.pszExpected, placeOfLastValue(row.mode, row.pszText));
    }
}
