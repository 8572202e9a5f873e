// SPDX-License-Identifier: MIT
#ifndef XVANTOR_DRIVER_MDEPFILE_H
#define XVANTOR_DRIVER_MDEPFILE_H

#include <memory>
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

/// A depfile made ready beside its target while the output is still being written, and
/// put in place only once the output is: a build never believes in an output that was not
/// written, and a depfile that cannot be made stops the run before the output is touched.
class MDepfile {
public:
    /// Writes depfileText() into a new file beside pszDepfile. Throws an MError.
    MDepfile(const char* pszDepfile, const char* pszOutput, const char* pszInput,
             const std::vector<MString>& embeddedFiles);
    /// Puts it in place. Throws "can not create the file".
    void commit();

private:
    std::string m_strName;
    MString m_mstrText;
    std::unique_ptr<MReplacementFile> m_pFile;
};

#endif  // XVANTOR_DRIVER_MDEPFILE_H
