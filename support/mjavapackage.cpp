// SPDX-License-Identifier: MIT
#include "support/mjavapackage.h"

#include <functional>
#include <string>
#include <utility>

#include "engine/mfiles.h"
#include "engine/mplatform.h"

namespace {

// White space as Java has it: a tab and a form feed are blanks here.
bool isJavaWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Bytes from 0x80 on are taken as parts of a name: Java names may hold any letter, and
// the input's encoding is not the tool's business.
bool isNamePart(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

// Reads a byte source (-1 at its end) only as far as the declaration needs.
class MPackageReader {
public:
    explicit MPackageReader(std::function<int()> next) : m_next(std::move(next)) {}

    std::string read() {
        if (get() == 0xEF) {  // a UTF-8 byte order mark
            if (get() != 0xBB || get() != 0xBF)
                return "";
        } else {
            unget();
        }
        if (nextWord() != "package" || !m_bSpaced)
            return "";
        std::string strPackage;
        for (;;) {
            std::string strPart = nextWord();
            if (strPart.empty() || (strPart[0] >= '0' && strPart[0] <= '9'))
                return "";
            strPackage += strPart;
            const int c = skipBlanks();
            if (c == ';')
                return strPackage;
            if (c != '.')
                return "";
            strPackage += '.';
        }
    }

private:
    int get() {
        if (m_bPushedBack) {
            m_bPushedBack = false;
            return m_nLast;
        }
        m_nLast = m_next();
        return m_nLast;
    }

    void unget() { m_bPushedBack = true; }

    // The first byte after white space and comments, or -1.
    int skipBlanks() {
        for (;;) {
            int c = get();
            if (isJavaWhiteSpace(c))
                continue;
            if (c != '/')
                return c;
            const int d = get();
            if (d == '/') {
                while (c != '\n' && c != -1)
                    c = get();
            } else if (d == '*') {
                int nPrevious = 0;
                for (c = get(); c != -1 && !(nPrevious == '*' && c == '/'); c = get())
                    nPrevious = c;
                if (c == -1)
                    return -1;
            } else {
                unget();
                return '/';
            }
        }
    }

    // The name that starts after white space and comments; m_bSpaced tells whether a blank,
    // a comment or the end follows it rather than another character.
    std::string nextWord() {
        std::string strWord;
        int c = skipBlanks();
        while (isNamePart(c)) {
            strWord += static_cast<char>(c);
            c = get();
        }
        m_bSpaced = isJavaWhiteSpace(c) || c == '/' || c == -1;
        unget();
        return strWord;
    }

    std::function<int()> m_next;
    int m_nLast = -1;
    bool m_bPushedBack = false;
    bool m_bSpaced = false;
};

}  // namespace

MString javaPackageOfFile(const char* pszName) {
    MFileVersion version;
    MSystemFile file = g_noSystemFile;
    try {
        file = openRegularFile(pszName, version);
    } catch (const MFileFailure&) {
        return MString();  // the input's own read reports a missing input
    }
    char achPiece[4096];
    long nHeld = 0;
    long nNext = 0;
    unsigned long long lliOffset = 0;
    bool bFailed = false;
    std::string strReason;
    const std::string strPackage = MPackageReader([&]() -> int {
                                       if (nNext == nHeld) {
                                           nHeld =
                                               readAt(file, achPiece, sizeof(achPiece), lliOffset);
                                           nNext = 0;
                                           if (nHeld <= 0) {
                                               if (nHeld < 0 && !bFailed) {
                                                   bFailed = true;
                                                   strReason = lastSystemError();
                                               }
                                               nHeld = 0;
                                               return -1;
                                           }
                                           lliOffset += static_cast<unsigned long>(nHeld);
                                       }
                                       return static_cast<unsigned char>(achPiece[nNext++]);
                                   }).read();
    // A read that fails is no end of the file: the support files would lose the package.
    closeSystemFile(file);
    if (bFailed)
        throw fileError({MFileFailure::MKind::CannotRead, strReason}, MFileUse::Input,
                        MString(pszName));
    return MString(strPackage);
}

MString withJavaPackage(const MString& mstrSupportText, const MString& mstrPackage) {
    if (mstrPackage.isEmpty())
        return mstrSupportText;
    const int nEmptyLine = mstrSupportText.find(MString("\r\n\r\n"));
    const int nSplit = nEmptyLine < 0 ? 0 : nEmptyLine + 4;
    return mstrSupportText.getString(0, nSplit) + MString("package ") + mstrPackage +
           MString(";\r\n\r\n") +
           mstrSupportText.getString(nSplit, static_cast<int>(mstrSupportText.length()));
}
