// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MESCAPECONTEXT_H
#define XVANTOR_ENGINE_MESCAPECONTEXT_H

#include <string>
#include <vector>

/// What a block's FLAG_ESCAPE asks for. None keeps every value as it is.
enum class MEscapeMode { None, Html, Json };

/// The escaper that a value's place asks for; each has a function of the same name in the
/// support library of every language.
enum class MEscaper {
    Html,              // HTML text and quoted attribute values
    HtmlUnquoted,      // part of an unquoted attribute value
    HtmlQuoted,        // a whole unquoted attribute value, written between quotes
    Url,               // the start of a URL: unsafe schemes become "#"
    UrlPart,           // any later part of a URL: percent-encoded as a component
    JsString,          // inside a JS string literal, in a script or an event attribute
    QuoteJs,           // a JS operand in a script: a string literal or a number
    QuoteJsAttribute,  // the same in an event attribute, its quotes written as references
    JsonString,        // inside a JSON string
    QuoteJson,         // a JSON value: a string, a number or null
};

/// The function that spells the escaper in every support library: "escapeHtml", ...
const char* escaperName(MEscaper escaper);

/// Follows a JS text byte by byte, as far as a value's place needs: operand, string,
/// template, regular expression or comment. Whatever it cannot follow with certainty makes
/// it give up.
class MJsContext {
public:
    void feed(unsigned char c);
    /// The escaper of a value here, or null with the place named in pszRefused.
    bool escaperHere(bool bInAttribute, MEscaper& escaper, const char*& pszRefused) const;
    /// A value just stood here: it is one operand.
    void afterValue();
    void giveUp() { m_state = MState::Lost; }

private:
    enum class MState {
        Operand,  // between tokens
        Slash,    // after a "/" whose meaning the next byte settles
        DoubleQuoted,
        SingleQuoted,
        Template,
        Regex,
        RegexClass,
        LineComment,
        BlockComment,
        Lost,
    };
    void feedOperand(unsigned char c);

    MState m_state = MState::Operand;
    bool m_bEscaped = false;         // after a backslash in a string or regular expression
    bool m_bRegexAllowed = true;     // a "/" here starts a regular expression
    bool m_bSlashUncertain = false;  // a "/" here could be either
    bool m_bStar = false;            // a "*" in a block comment
    std::string m_strWord;           // the identifier or number being read
    unsigned char m_cLast = 0;       // the punctuator before, for "++" and "--"
};

/// Finds the place of each value in an HTML text from the literal text alone, following
/// the HTML tokenizer's states for tags, attributes, comments and the raw text elements.
class MHtmlContext {
public:
    /// The literal text between values, in order.
    void feed(const char* pText, unsigned long liLength);
    /// The escaper of a value that stands here. pNext and liNext are the literal text that
    /// follows it; bNextIsValue says that another value follows at once. Returns false and
    /// names the place in strRefused when no escaper is safe there.
    bool valueHere(const char* pNext, unsigned long liNext, bool bNextIsValue, MEscaper& escaper,
                   std::string& strRefused);

private:
    enum class MState {
        Text,
        RawText,  // the text of an element whose end tag alone ends it
        Script,
        TagOpen,
        EndTagOpen,
        TagName,
        BeforeAttributeName,
        AttributeName,
        AfterAttributeName,
        BeforeAttributeValue,
        DoubleQuoted,
        SingleQuoted,
        Unquoted,
        AfterQuotedValue,
        SelfClosing,
        MarkupOpen,  // after "<!"
        MarkupDash,  // after "<!-"
        Comment,
        BogusComment,
    };
    enum class MAttribute { Plain, Url, Event, Refused };

    void feedByte(unsigned char c);
    void feedTag(unsigned char c);
    void feedValueByte(unsigned char c);
    void endTag();
    /// In raw text: whether c completes the end tag of its element.
    bool endTagFollows(unsigned char c);
    void startAttribute();
    bool attributeValueHere(const char* pNext, unsigned long liNext, bool bNextIsValue,
                            MEscaper& escaper, std::string& strRefused);
    void feedEventByte(unsigned char c);
    /// What a script of the start tag just read is, when it is no JavaScript; "" for
    /// JavaScript.
    std::string nonScriptType() const;

    MState m_state = MState::Text;
    bool m_bEndTag = false;
    std::string m_strTag;          // the name of the tag being read, in lower case
    std::string m_strRawTag;       // the element whose end tag ends the raw text
    int m_nEndMatched = -1;        // bytes of "</name" matched in raw text; -1 for none
    bool m_bRawEscapable = false;  // character references count in the raw text
    std::string m_strAttribute;    // the attribute being read, in lower case
    MAttribute m_attribute = MAttribute::Plain;
    const char* m_pszRefusedAttribute = "";
    bool m_bValueStarted = false;   // the attribute value holds a byte that is no blank
    bool m_bValueHasValue = false;  // a value already stands in the attribute value
    std::string m_strUrlHead;       // the first literal bytes of a URL value, lower case
    int m_nDashes = 0;              // in a comment
    bool m_bBang = false;           // "--!" in a comment
    std::string m_strEntity;        // a character reference being read in an event attribute
    bool m_bInEntity = false;
    bool m_bScriptLost = false;  // the script holds "<!--", which changes its states
    std::string m_strTail;       // the last bytes of script text, for "<!--"
    // The type and the language attribute of the start tag being read, in lower case, and
    // which one a value byte goes to (-1: neither); a value in them leaves the type unknown.
    std::string m_astrScriptType[2];
    bool m_abScriptTypeGiven[2] = {false, false};
    int m_nScriptTypeAttribute = -1;
    bool m_bScriptTypeHasValue = false;
    std::string m_strNonScript;  // what the script is, when it is no JavaScript
    MJsContext m_js;
};

/// Finds the place of each value in a JSON text: inside a string, in a value's place, or
/// as a key.
class MJsonContext {
public:
    void feed(const char* pText, unsigned long liLength);
    bool valueHere(MEscaper& escaper, std::string& strRefused);

private:
    enum class MState { Value, Key, Colon, After, String, KeyString, Word, Done, Lost };
    void feedByte(unsigned char c);
    void endValue();

    MState m_state = MState::Value;
    bool m_bEscaped = false;
    std::vector<char> m_containers;  // "{" or "[", innermost last
};

#endif  // XVANTOR_ENGINE_MESCAPECONTEXT_H
