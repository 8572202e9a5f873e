// SPDX-License-Identifier: MIT
#include "engine/mescapecontext.h"

void MJsonContext::feed(const char* pText, unsigned long liLength) {
    for (unsigned long i = 0; i < liLength; ++i)
        feedByte(static_cast<unsigned char>(pText[i]));
}

void MJsonContext::endValue() {
    m_state = m_containers.empty() ? MState::Done : MState::After;
}

void MJsonContext::feedByte(unsigned char c) {
    if (m_state == MState::String || m_state == MState::KeyString) {
        if (m_bEscaped)
            m_bEscaped = false;
        else if (c == '\\')
            m_bEscaped = true;
        else if (c == '"' && m_state == MState::KeyString)
            m_state = MState::Colon;
        else if (c == '"')
            endValue();
        return;
    }
    const bool bBlank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (m_state == MState::Word) {
        if (bBlank || c == ',' || c == ']' || c == '}')
            endValue();
        else
            return;
    }
    if (bBlank || m_state == MState::Lost)
        return;
    const char cInner = m_containers.empty() ? 0 : m_containers.back();
    switch (m_state) {
    case MState::Value:
        if (c == '{' || c == '[') {
            m_containers.push_back(static_cast<char>(c));
            m_state = c == '{' ? MState::Key : MState::Value;
        } else if (c == '"') {
            m_state = MState::String;
        } else if (c == ']' && cInner == '[') {
            // The empty array.
            m_containers.pop_back();
            endValue();
        } else {
            m_state = MState::Word;
        }
        return;
    case MState::Key:
        if (c == '"')
            m_state = MState::KeyString;
        else if (c == '}')
            m_containers.pop_back(), endValue();
        else
            m_state = MState::Lost;
        return;
    case MState::Colon:
        m_state = c == ':' ? MState::Value : MState::Lost;
        return;
    case MState::After:
        if (c == ',') {
            m_state = cInner == '{' ? MState::Key : MState::Value;
        } else if ((c == '}' && cInner == '{') || (c == ']' && cInner == '[')) {
            m_containers.pop_back();
            endValue();
        } else {
            m_state = MState::Lost;
        }
        return;
    default:  // Done: text after the whole value
        m_state = MState::Lost;
        return;
    }
}

bool MJsonContext::valueHere(MEscaper& escaper, std::string& strRefused) {
    switch (m_state) {
    case MState::String:
    case MState::KeyString:
        if (m_bEscaped) {
            strRefused = "a JSON escape sequence";
            return false;
        }
        escaper = MEscaper::JsonString;
        return true;
    case MState::Value:
        escaper = MEscaper::QuoteJson;
        endValue();
        return true;
    case MState::Key:
        strRefused = "an unquoted JSON key";
        return false;
    default:
        strRefused = "JSON that the tokenizer can not follow";
        return false;
    }
}
