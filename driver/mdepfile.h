// SPDX-License-Identifier: MIT
#ifndef XVANTOR_DRIVER_MDEPFILE_H
#define XVANTOR_DRIVER_MDEPFILE_H

#include <string>
#include <vector>

#include "core/mstring.h"
#include "engine/mfiles.h"

/// The Make rule that compilers write with -MD -MP: the output depends on the input and
/// on every embedded file, each once, in the order of first use, by absolute path; then
/// an empty rule for each of those, so that a file that is gone breaks no build. Every
/// name is spelled so that Make and Ninja both read back exactly that name; a name that
/// cannot be spelled so throws an MError naming it, since it could add a rule or a recipe.
std::string depfileText(const char* pszOutput, const char* pszInput,
                        const std::vector<MString>& embeddedFiles);

/// A depfile put in place before the output: a new depfile beside an old output costs
/// one needless build at most, since the old output is older than its input, whereas an
/// old depfile beside a new output would miss a dependency. Any failure to write it
/// leaves the old output as it was.
class MDepfile {
public:
    /// Checks the names and spells the text. Throws an MError.
    MDepfile(const char* pszDepfile, const char* pszOutput, const char* pszInput,
             const std::vector<MString>& embeddedFiles);
    /// Writes it and puts it in place. Throws "can not create the file".
    void commit();

private:
    std::string m_strName;
    MString m_mstrText;
};

#endif  // XVANTOR_DRIVER_MDEPFILE_H
