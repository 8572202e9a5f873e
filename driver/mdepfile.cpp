// SPDX-License-Identifier: MIT
#include "driver/mdepfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "engine/mfiles.h"

namespace {

// Bytes that one of the two build tools reads as something else whatever is put before
// them: line ends and other controls, a backslash, and what Ninja takes for the end of a
// name.
bool isUnwritable(unsigned char c) {
    return c < 0x20 || c == 0x7f || std::strchr("*?'\"&|;<>^`\\", c) != nullptr;
}

// The name on one line of the console, its control bytes spelled out.
std::string printable(const std::string& strName) {
    std::string strText;
    for (char c : strName) {
        const unsigned char uc = static_cast<unsigned char>(c);
        if (c == '\n') {
            strText += "\\n";
        } else if (uc < 0x20 || uc == 0x7f) {
            char szHex[8];
            std::snprintf(szHex, sizeof(szHex), "\\x%02x", uc);
            strText += szHex;
        } else {
            strText += c;
        }
    }
    return strText;
}

// Make reads a rule whose target holds "=" as the assignment of a variable, whatever
// escapes it, so such a name could never have the empty rule that lets its file be
// deleted. A "%" makes the rule a pattern, which Ninja reads back as the name itself; see
// depfileText() for how Make still applies it.
std::string escaped(const std::string& strName, bool bTarget) {
    // Both tools read a drive's colon ("C:/") as part of the name, as compilers write it on
    // Windows; elsewhere a path has no drive and every colon is escaped.
    const size_t nDrive = std::filesystem::path(strName).root_name().string().size();
    std::string strEscaped;
    for (size_t i = 0; i < strName.size(); ++i) {
        const char c = strName[i];
        if (isUnwritable(static_cast<unsigned char>(c)) || c == '=' || (bTarget && c == '%'))
            throw MError(MErrorCode::DepfileName, {MString(printable(strName).c_str())});
        if (c == ' ' || c == '#' || (c == ':' && i >= nDrive))
            strEscaped += '\\';
        else if (c == '$')
            strEscaped += '$';
        strEscaped += c;
    }
    return strEscaped;
}

// Embedded names resolve against the working directory, and build tools read the file
// from elsewhere.
std::string absolute(const std::string& strName) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(strName, error);
    // Forward slashes on every system: in Make's syntax a backslash escapes.
    return error ? strName : path.lexically_normal().generic_string();
}

}  // namespace

std::string depfileText(const char* pszOutput, const char* pszInput,
                        const std::vector<MString>& embeddedFiles) {
    std::vector<std::string> prerequisites{absolute(pszInput)};
    for (const MString& mstrFile : embeddedFiles) {
        const std::string strFile = absolute(std::string(&mstrFile[0], mstrFile.length()));
        if (std::find(prerequisites.begin(), prerequisites.end(), strFile) == prerequisites.end())
            prerequisites.push_back(strFile);
    }
    std::string strText = escaped(std::filesystem::path(pszOutput).generic_string(), true) + ":";
    for (const std::string& strFile : prerequisites)
        strText += " " + escaped(strFile, false);
    strText += "\n";
    // A pattern rule without a recipe only cancels others; an empty recipe, a line of a
    // tab alone, makes it one that Make applies to the name, which the pattern matches.
    for (const std::string& strFile : prerequisites) {
        strText += "\n" + escaped(strFile, false) + ":\n";
        if (strFile.find('%') != std::string::npos)
            strText += "\t\n";
    }
    return strText;
}

MDepfile::MDepfile(const char* pszDepfile, const char* pszOutput, const char* pszInput,
                   const std::vector<MString>& embeddedFiles)
    : m_strName(pszDepfile) {
    // The input and the output were compared before anything was written; the embedded
    // files are known only now, each as often as it was embedded.
    std::unordered_set<std::string> seen;
    for (const MString& mstrFile : embeddedFiles) {
        const std::string strFile(&mstrFile[0], mstrFile.length());
        if (seen.insert(strFile).second && sameFile(m_strName, strFile))
            throw MError(MErrorCode::SameFile, {MString("depfile"), MString(pszDepfile),
                                                MString("embedded file"), mstrFile});
    }
    const std::string strText = depfileText(pszOutput, pszInput, embeddedFiles);
    m_mstrText = MString(strText.data(), static_cast<unsigned long>(strText.size()));
}

void MDepfile::commit() {
    MReplacementFile file(m_strName.c_str());
    if (file.inPlace()) {
        writeInPlace(m_strName.c_str(), m_mstrText);
        return;
    }
    file.write(m_mstrText.getAddress(), m_mstrText.length());
    file.commit();
}
