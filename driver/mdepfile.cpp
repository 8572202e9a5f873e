// SPDX-License-Identifier: MIT
#include "driver/mdepfile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/mfiles.h"

namespace {

std::string escaped(const std::string& strName) {
    std::string strEscaped;
    for (char c : strName) {
        if (c == ' ' || c == '#')
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
    std::string strText = escaped(pszOutput) + ":";
    for (const std::string& strFile : prerequisites)
        strText += " " + escaped(strFile);
    strText += "\n";
    for (const std::string& strFile : prerequisites)
        strText += "\n" + escaped(strFile) + ":\n";
    return strText;
}

void writeDepfile(const char* pszDepfile, const char* pszOutput, const char* pszInput,
                  const std::vector<MString>& embeddedFiles) {
    const std::string strText = depfileText(pszOutput, pszInput, embeddedFiles);
    MString mstrText(strText.data(), static_cast<unsigned long>(strText.size()));
    writeWholeFile(pszDepfile, mstrText);
}
