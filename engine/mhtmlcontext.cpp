// SPDX-License-Identifier: MIT
#include <cstring>

#include "engine/mescapecontext.h"

namespace {

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAlnum(unsigned char c) {
    return isAlpha(c) || (c >= '0' && c <= '9');
}

char lower(unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

bool isOneOf(const std::string& str, std::initializer_list<const char*> names) {
    for (const char* pszName : names) {
        if (str == pszName)
            return true;
    }
    return false;
}

// The attributes whose value is a URL; names that speak of one count too.
bool isUrlAttribute(const std::string& strName) {
    return isOneOf(strName, {"href", "src", "action", "formaction", "poster", "cite", "data",
                             "background", "classid", "codebase", "icon", "longdesc", "manifest",
                             "profile", "usemap", "xmlns", "ping", "lowsrc", "dynsrc"}) ||
           strName.find("src") != std::string::npos || strName.find("url") != std::string::npos ||
           strName.find("uri") != std::string::npos;
}

// A character reference that a script in an event attribute may spell; 0 for any other.
char referencedByte(const std::string& strName) {
    struct MReference {
        const char* pszName;
        char c;
    };
    static const MReference references[] = {
        {"quot", '"'},  {"#34", '"'}, {"#x22", '"'}, {"apos", '\''}, {"#39", '\''},
        {"#x27", '\''}, {"amp", '&'}, {"#38", '&'},  {"lt", '<'},    {"gt", '>'},
    };
    for (const MReference& reference : references) {
        if (strName == reference.pszName)
            return reference.c;
    }
    return 0;
}

// The types that make a script JavaScript, besides none and an empty one.
bool isJavaScriptType(const std::string& strType) {
    return isOneOf(
        strType, {"module", "text/javascript", "application/javascript", "text/ecmascript",
                  "application/ecmascript", "application/x-ecmascript", "application/x-javascript",
                  "text/javascript1.0", "text/javascript1.1", "text/javascript1.2",
                  "text/javascript1.3", "text/javascript1.4", "text/javascript1.5", "text/jscript",
                  "text/livescript", "text/x-ecmascript", "text/x-javascript"});
}

// The type for a message: printable, and short enough for one line.
std::string shownType(const std::string& strType) {
    std::string strShown;
    for (const char c : strType.substr(0, 40))
        strShown += c >= ' ' && c < 0x7f ? c : '?';
    return strType.size() > 40 ? strShown + "..." : strShown;
}

}  // namespace

void MHtmlContext::feed(const char* pText, unsigned long liLength) {
    for (unsigned long i = 0; i < liLength; ++i)
        feedByte(static_cast<unsigned char>(pText[i]));
}

void MHtmlContext::feedByte(unsigned char c) {
    switch (m_state) {
    case MState::Text:
        if (c == '<')
            m_state = MState::TagOpen;
        return;
    case MState::RawText:
        endTagFollows(c);
        return;
    case MState::Script:
        if (endTagFollows(c))
            return;
        // "<!--" in a script changes how the HTML tokenizer reads the rest of it.
        m_strTail += static_cast<char>(c);
        if (m_strTail.size() > 4)
            m_strTail.erase(0, 1);
        m_bScriptLost = m_bScriptLost || m_strTail == "<!--";
        m_js.feed(c);
        return;
    case MState::MarkupOpen:
        if (c == '-') {
            m_state = MState::MarkupDash;
            return;
        }
        m_state = MState::BogusComment;
        break;
    case MState::MarkupDash:
        if (c == '-') {
            // "<!-->" is a whole comment already.
            m_state = MState::Comment;
            m_nDashes = 2;
            m_bBang = false;
            return;
        }
        m_state = MState::BogusComment;
        break;
    case MState::Comment:
        if (c == '>' && m_nDashes >= 2) {
            m_state = MState::Text;
        } else if (c == '-') {
            ++m_nDashes;
            m_bBang = false;
        } else if (c == '!' && m_nDashes >= 2 && !m_bBang) {
            m_bBang = true;
        } else {
            m_nDashes = 0;
            m_bBang = false;
        }
        return;
    case MState::BogusComment:
        break;
    default:
        feedTag(c);
        return;
    }
    if (c == '>')
        m_state = MState::Text;
}

void MHtmlContext::feedTag(unsigned char c) {
    switch (m_state) {
    case MState::TagOpen:
        if (isAlpha(c)) {
            m_state = MState::TagName;
            m_bEndTag = false;
            m_strTag.assign(1, lower(c));
            m_astrScriptType[0].clear();
            m_astrScriptType[1].clear();
            m_abScriptTypeGiven[0] = m_abScriptTypeGiven[1] = false;
            m_bScriptTypeHasValue = false;
        } else if (c == '!') {
            m_state = MState::MarkupOpen;
        } else if (c == '/') {
            m_state = MState::EndTagOpen;
        } else if (c == '?') {
            m_state = MState::BogusComment;
        } else {
            m_state = MState::Text;
            feedByte(c);
        }
        return;
    case MState::EndTagOpen:
        if (isAlpha(c)) {
            m_state = MState::TagName;
            m_bEndTag = true;
            m_strTag.assign(1, lower(c));
        } else {
            m_state = c == '>' ? MState::Text : MState::BogusComment;
        }
        return;
    case MState::TagName:
        if (isBlank(c))
            m_state = MState::BeforeAttributeName;
        else if (c == '/')
            m_state = MState::SelfClosing;
        else if (c == '>')
            endTag();
        else
            m_strTag += lower(c);
        return;
    case MState::BeforeAttributeName:
    case MState::AfterAttributeName:
        if (isBlank(c)) {
        } else if (c == '/') {
            m_state = MState::SelfClosing;
        } else if (c == '>') {
            endTag();
        } else if (c == '=' && m_state == MState::AfterAttributeName) {
            m_state = MState::BeforeAttributeValue;
            startAttribute();
        } else {
            m_state = MState::AttributeName;
            m_strAttribute.assign(1, lower(c));
        }
        return;
    case MState::AttributeName:
        if (isBlank(c)) {
            m_state = MState::AfterAttributeName;
        } else if (c == '/') {
            m_state = MState::SelfClosing;
        } else if (c == '=') {
            m_state = MState::BeforeAttributeValue;
            startAttribute();
        } else if (c == '>') {
            endTag();
        } else {
            m_strAttribute += lower(c);
        }
        return;
    case MState::BeforeAttributeValue:
        if (isBlank(c)) {
        } else if (c == '"') {
            m_state = MState::DoubleQuoted;
        } else if (c == '\'') {
            m_state = MState::SingleQuoted;
        } else if (c == '>') {
            endTag();
        } else {
            m_state = MState::Unquoted;
            feedValueByte(c);
        }
        return;
    case MState::DoubleQuoted:
    case MState::SingleQuoted:
        if (c == (m_state == MState::DoubleQuoted ? '"' : '\''))
            m_state = MState::AfterQuotedValue;
        else
            feedValueByte(c);
        return;
    case MState::Unquoted:
        if (isBlank(c))
            m_state = MState::BeforeAttributeName;
        else if (c == '>')
            endTag();
        else
            feedValueByte(c);
        return;
    default:  // AfterQuotedValue, SelfClosing
        if (c == '>') {
            endTag();
        } else if (isBlank(c) || (c == '/' && m_state == MState::AfterQuotedValue)) {
            m_state = c == '/' ? MState::SelfClosing : MState::BeforeAttributeName;
        } else {
            m_state = MState::BeforeAttributeName;
            feedTag(c);
        }
        return;
    }
}

void MHtmlContext::endTag() {
    m_state = MState::Text;
    if (m_bEndTag)
        return;
    m_nEndMatched = -1;
    if (m_strTag == "script") {
        m_state = MState::Script;
        m_js = MJsContext();
        m_bScriptLost = false;
        m_strTail.clear();
        m_strNonScript = nonScriptType();
    } else if (isOneOf(m_strTag, {"style", "xmp", "iframe", "noembed", "noframes", "noscript",
                                  "plaintext", "title", "textarea"})) {
        // Character references count in a title and a textarea, so escaped text is safe.
        m_state = MState::RawText;
        m_bRawEscapable = m_strTag == "title" || m_strTag == "textarea";
    } else {
        return;
    }
    m_strRawTag = m_strTag == "plaintext" ? std::string() : m_strTag;
}

bool MHtmlContext::endTagFollows(unsigned char c) {
    const int nNameEnd = 2 + static_cast<int>(m_strRawTag.size());
    if (c == '<') {
        m_nEndMatched = 0;
    } else if (m_nEndMatched == 0 && c == '/') {
        m_nEndMatched = 1;
    } else if (m_nEndMatched >= 1 && m_nEndMatched < nNameEnd - 1 &&
               lower(c) == m_strRawTag[static_cast<size_t>(m_nEndMatched - 1)]) {
        ++m_nEndMatched;
    } else if (m_nEndMatched == nNameEnd - 1 && !m_strRawTag.empty() &&
               (isBlank(c) || c == '/' || c == '>')) {
        m_nEndMatched = -1;
        m_bEndTag = true;
        m_strTag = m_strRawTag;
        m_state = MState::BeforeAttributeName;
        feedTag(c);
        return true;
    } else {
        m_nEndMatched = -1;
    }
    return false;
}

// A script whose type is none of JavaScript's holds data, or a template that something
// else reads, so no escaper can know what a value there becomes. The first of each
// attribute counts, as in a browser.
std::string MHtmlContext::nonScriptType() const {
    if (m_bScriptTypeHasValue)
        return "a <script> whose type a value gives";
    const std::string& strType = m_astrScriptType[0];
    std::string strShown;
    if (m_abScriptTypeGiven[0] && !strType.empty()) {
        const size_t nBegin = strType.find_first_not_of(" \t\n\r\f");
        const size_t nEnd = strType.find_last_not_of(" \t\n\r\f");
        strShown = nBegin == std::string::npos ? "" : strType.substr(nBegin, nEnd + 1 - nBegin);
    } else if (!m_abScriptTypeGiven[0] && !m_astrScriptType[1].empty()) {
        strShown = "text/" + m_astrScriptType[1];
    } else {
        return "";
    }
    return isJavaScriptType(strShown) ? "" : "a <script> of type \"" + shownType(strShown) + "\"";
}

void MHtmlContext::startAttribute() {
    m_nScriptTypeAttribute = -1;
    if (m_strTag == "script" && (m_strAttribute == "type" || m_strAttribute == "language")) {
        const int nAttribute = m_strAttribute == "type" ? 0 : 1;
        if (!m_abScriptTypeGiven[nAttribute])
            m_nScriptTypeAttribute = nAttribute;
        m_abScriptTypeGiven[nAttribute] = true;
    }
    std::string strName = m_strAttribute;
    if (strName.compare(0, 5, "data-") == 0)
        strName.erase(0, 5);
    const size_t nColon = strName.rfind(':');
    if (nColon != std::string::npos)
        strName.erase(0, nColon + 1);
    m_attribute = MAttribute::Plain;
    if (strName.compare(0, 2, "on") == 0) {
        m_attribute = MAttribute::Event;
        m_js = MJsContext();
        m_bInEntity = false;
    } else if (isOneOf(strName, {"style", "srcdoc", "srcset"})) {
        m_attribute = MAttribute::Refused;
        m_pszRefusedAttribute = strName == "style"    ? "a style attribute"
                                : strName == "srcdoc" ? "an srcdoc attribute"
                                                      : "an srcset attribute";
    } else if (isUrlAttribute(strName)) {
        m_attribute = MAttribute::Url;
    }
    m_bValueStarted = false;
    m_bValueHasValue = false;
    m_strUrlHead.clear();
}

void MHtmlContext::feedValueByte(unsigned char c) {
    if (m_nScriptTypeAttribute >= 0)
        m_astrScriptType[m_nScriptTypeAttribute] += lower(c);
    // Browsers drop blanks and control bytes around a URL and tabs and line ends inside.
    if (c > ' ' && c != 0x7f) {
        m_bValueStarted = true;
        if (m_strUrlHead.size() < 16)
            m_strUrlHead += lower(c);
    }
    if (m_attribute == MAttribute::Event)
        feedEventByte(c);
}

// The script of an event attribute is what its value decodes to.
void MHtmlContext::feedEventByte(unsigned char c) {
    if (!m_bInEntity) {
        if (c == '&') {
            m_bInEntity = true;
            m_strEntity.clear();
        } else {
            m_js.feed(c);
        }
        return;
    }
    if (c == ';') {
        m_bInEntity = false;
        const char cDecoded = referencedByte(m_strEntity);
        if (cDecoded == 0)
            m_js.giveUp();
        else
            m_js.feed(static_cast<unsigned char>(cDecoded));
    } else if (isAlnum(c) || c == '#') {
        m_strEntity += static_cast<char>(c);
        if (m_strEntity.size() > 8)
            m_js.giveUp();
    } else if (m_strEntity.empty()) {
        // An "&" that starts no reference is itself.
        m_bInEntity = false;
        m_js.feed('&');
        feedEventByte(c);
    } else {
        m_bInEntity = false;
        m_js.giveUp();
    }
}

bool MHtmlContext::valueHere(const char* pNext, unsigned long liNext, bool bNextIsValue,
                             MEscaper& escaper, std::string& strRefused) {
    switch (m_state) {
    case MState::Text:
        escaper = MEscaper::Html;
        return true;
    case MState::RawText:
    case MState::Script:
        if (m_nEndMatched >= 0) {
            strRefused = "what may be the end tag of <" + m_strRawTag + ">";
            return false;
        }
        if (m_state == MState::Script && !m_strNonScript.empty()) {
            strRefused = m_strNonScript;
            return false;
        }
        if (m_state == MState::Script) {
            const char* pszRefused = "a script that holds \"<!--\"";
            if (!m_bScriptLost && m_js.escaperHere(false, escaper, pszRefused)) {
                m_js.afterValue();
                return true;
            }
            strRefused = pszRefused;
            return false;
        }
        if (m_bRawEscapable) {
            escaper = MEscaper::Html;
            return true;
        }
        strRefused =
            "a <" + (m_strRawTag.empty() ? std::string("plaintext") : m_strRawTag) + "> element";
        return false;
    case MState::TagOpen:
    case MState::EndTagOpen:
    case MState::TagName:
        strRefused = "a tag name";
        return false;
    case MState::BeforeAttributeName:
    case MState::AttributeName:
    case MState::AfterAttributeName:
    case MState::AfterQuotedValue:
    case MState::SelfClosing:
        strRefused = "an attribute name";
        return false;
    case MState::BeforeAttributeValue:
    case MState::DoubleQuoted:
    case MState::SingleQuoted:
    case MState::Unquoted:
        if (!attributeValueHere(pNext, liNext, bNextIsValue, escaper, strRefused))
            return false;
        m_bValueHasValue = true;
        m_bScriptTypeHasValue = m_bScriptTypeHasValue || m_nScriptTypeAttribute >= 0;
        return true;
    default:
        strRefused = "an HTML comment";
        return false;
    }
}

bool MHtmlContext::attributeValueHere(const char* pNext, unsigned long liNext, bool bNextIsValue,
                                      MEscaper& escaper, std::string& strRefused) {
    const bool bUnquoted = m_state == MState::BeforeAttributeValue || m_state == MState::Unquoted;
    switch (m_attribute) {
    case MAttribute::Refused:
        strRefused = m_pszRefusedAttribute;
        return false;
    case MAttribute::Event: {
        const char* pszRefused = "an unquoted event attribute";
        if (m_bInEntity)
            pszRefused = "a character reference";
        else if (!bUnquoted && m_js.escaperHere(true, escaper, pszRefused))
            return m_js.afterValue(), true;
        strRefused = pszRefused;
        return false;
    }
    case MAttribute::Url:
        if (bUnquoted) {
            strRefused = "an unquoted URL attribute";
            return false;
        }
        if (m_bValueStarted || m_bValueHasValue) {
            // A value after the scheme goes into that scheme's URL.
            const size_t nColon = m_strUrlHead.find(':');
            const std::string strScheme = m_strUrlHead.substr(0, nColon);
            if (nColon != std::string::npos &&
                strScheme.find_first_of("/?#") == std::string::npos &&
                isOneOf(strScheme, {"javascript", "vbscript", "data"})) {
                strRefused = "a " + strScheme + ": URL";
                return false;
            }
            escaper = MEscaper::UrlPart;
            return true;
        }
        // The text after a value that starts the URL must not make its scheme.
        for (unsigned long i = 0; i < liNext; ++i) {
            const char c = pNext[i];
            if (c == ':') {
                strRefused = "a URL whose scheme a value begins";
                return false;
            }
            if (c == '/' || c == '?' || c == '#' || c == '"' || c == '\'')
                break;
        }
        escaper = MEscaper::Url;
        return true;
    case MAttribute::Plain:
        break;
    }
    if (m_state != MState::BeforeAttributeValue) {
        escaper = bUnquoted ? MEscaper::HtmlUnquoted : MEscaper::Html;
        return true;
    }
    // A value that is the whole unquoted value is quoted, so that an empty one cannot let
    // the next attribute become this one's value.
    if (liNext == 0 && bNextIsValue) {
        strRefused = "an unquoted attribute value that two values begin";
        return false;
    }
    if (liNext == 0 || isBlank(static_cast<unsigned char>(pNext[0])) || pNext[0] == '>') {
        escaper = MEscaper::HtmlQuoted;
        m_state = MState::AfterQuotedValue;
    } else {
        escaper = MEscaper::HtmlUnquoted;
        m_state = MState::Unquoted;
    }
    return true;
}
