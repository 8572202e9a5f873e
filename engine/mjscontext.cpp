// SPDX-License-Identifier: MIT
#include "engine/mescapecontext.h"

namespace {

bool isIdentifierByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// After these words an operand follows, so a "/" starts a regular expression.
bool precedesOperand(const std::string& strWord) {
    static const char* const apszWords[] = {"return", "typeof", "instanceof", "in",    "of",
                                            "new",    "delete", "void",       "throw", "case",
                                            "do",     "else",   "yield",      "await"};
    for (const char* pszWord : apszWords) {
        if (strWord == pszWord)
            return true;
    }
    return false;
}

}  // namespace

const char* escaperName(MEscaper escaper) {
    static const char* const apszNames[] = {
        "escapeHtml",       "escapeHtmlUnquoted", "quoteHtml", "escapeUrl",
        "escapeUrlPart",    "escapeJsString",     "quoteJs",   "quoteJsAttribute",
        "escapeJsonString", "quoteJson",
    };
    return apszNames[static_cast<int>(escaper)];
}

void MJsContext::feed(unsigned char c) {
    switch (m_state) {
    case MState::Operand:
        feedOperand(c);
        return;
    case MState::Slash:
        if (c == '/') {
            m_state = MState::LineComment;
        } else if (c == '*') {
            m_state = MState::BlockComment;
            m_bStar = false;
        } else if (m_bSlashUncertain) {
            // "}" ends a block or an object literal: the "/" divides after one only.
            m_state = MState::Lost;
        } else if (m_bRegexAllowed) {
            m_state = MState::Regex;
            feed(c);
        } else {
            m_state = MState::Operand;
            m_bRegexAllowed = true;
            feedOperand(c);
        }
        return;
    case MState::DoubleQuoted:
    case MState::SingleQuoted:
    case MState::Template:
    case MState::Regex:
    case MState::RegexClass:
        break;
    case MState::LineComment:
        if (c == '\n' || c == '\r')
            m_state = MState::Operand;
        return;
    case MState::BlockComment:
        if (m_bStar && c == '/')
            m_state = MState::Operand;
        m_bStar = c == '*';
        return;
    case MState::Lost:
        return;
    }
    // The quoted forms: a backslash takes the next byte along.
    if (m_bEscaped) {
        m_bEscaped = false;
        return;
    }
    if (c == '\\') {
        m_bEscaped = true;
        return;
    }
    const bool bLineEnd = c == '\n' || c == '\r';
    switch (m_state) {
    case MState::DoubleQuoted:
    case MState::SingleQuoted:
        if (c == (m_state == MState::DoubleQuoted ? '"' : '\'')) {
            m_state = MState::Operand;
            m_bRegexAllowed = false;
        } else if (bLineEnd) {
            m_state = MState::Lost;
        }
        return;
    case MState::Template:
        // A substitution may nest further templates: not followed.
        if (c == '`')
            m_state = MState::Operand;
        else if (m_bStar && c == '{')
            m_state = MState::Lost;
        m_bStar = c == '$';
        m_bRegexAllowed = false;
        return;
    case MState::Regex:
        if (c == '[')
            m_state = MState::RegexClass;
        else if (c == '/')
            m_state = MState::Operand, m_bRegexAllowed = false;
        else if (bLineEnd)
            m_state = MState::Lost;
        return;
    default:  // RegexClass
        if (c == ']')
            m_state = MState::Regex;
        else if (bLineEnd)
            m_state = MState::Lost;
        return;
    }
}

void MJsContext::feedOperand(unsigned char c) {
    if (isBlank(c)) {
        m_strWord.clear();
        m_cLast = 0;
        return;
    }
    const bool bNumber = !m_strWord.empty() && m_strWord[0] >= '0' && m_strWord[0] <= '9';
    if (isIdentifierByte(c) || (c == '.' && bNumber)) {
        m_strWord += static_cast<char>(c);
        m_bRegexAllowed = precedesOperand(m_strWord);
        m_bSlashUncertain = false;
        return;
    }
    m_strWord.clear();
    const bool bRepeated = m_cLast == c;
    const bool bAfterBrace = m_bSlashUncertain;
    m_cLast = c;
    m_bSlashUncertain = false;
    switch (c) {
    case '"':
        m_state = MState::DoubleQuoted;
        return;
    case '\'':
        m_state = MState::SingleQuoted;
        return;
    case '`':
        m_state = MState::Template;
        m_bStar = false;
        return;
    case '/':
        m_state = MState::Slash;
        m_bSlashUncertain = bAfterBrace;
        return;
    case ')':
    case ']':
        m_bRegexAllowed = false;
        return;
    case '}':
        m_bRegexAllowed = true;
        m_bSlashUncertain = true;
        return;
    case '+':
    case '-':
        // "a++ / b" divides, "a + /b/" does not.
        m_bRegexAllowed = !bRepeated;
        if (bRepeated)
            m_cLast = 0;
        return;
    default:
        m_bRegexAllowed = true;
        return;
    }
}

bool MJsContext::escaperHere(bool bInAttribute, MEscaper& escaper, const char*& pszRefused) const {
    switch (m_state) {
    case MState::Operand:
        escaper = bInAttribute ? MEscaper::QuoteJsAttribute : MEscaper::QuoteJs;
        return true;
    case MState::DoubleQuoted:
    case MState::SingleQuoted:
        if (m_bEscaped)
            break;
        escaper = MEscaper::JsString;
        return true;
    case MState::Template:
        pszRefused = "a JS template literal";
        return false;
    case MState::Slash:
    case MState::Regex:
    case MState::RegexClass:
        pszRefused = "a JS regular expression";
        return false;
    case MState::LineComment:
    case MState::BlockComment:
        pszRefused = "a JS comment";
        return false;
    case MState::Lost:
        break;
    }
    pszRefused = "JS that the tokenizer can not follow";
    return false;
}

void MJsContext::afterValue() {
    if (m_state != MState::Operand)
        return;
    m_strWord.clear();
    m_cLast = 0;
    m_bRegexAllowed = false;
    m_bSlashUncertain = false;
}
