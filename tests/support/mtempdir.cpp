// SPDX-License-Identifier: MIT
#include "tests/support/mtempdir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/mstring.h"
#include "engine/merror.h"

MTempDir::MTempDir() {
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "xvantor-test-XXXXXX").string();
    if (::mkdtemp(strTemplate.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_strPath = strTemplate;
    m_strPrevious = std::filesystem::current_path().string();
    std::filesystem::current_path(m_strPath);
}

MTempDir::~MTempDir() {
    std::error_code error;
    std::filesystem::current_path(m_strPrevious, error);
    std::filesystem::remove_all(m_strPath, error);
}

void MTempDir::write(const std::string& strName, const std::string& strBytes) const {
    std::ofstream file(m_strPath + "/" + strName, std::ios::binary);
    file.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + strName);
}

std::string MTempDir::read(const std::string& strName) const {
    std::ifstream file(m_strPath + "/" + strName, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + strName);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool MTempDir::exists(const std::string& strName) const {
    return std::filesystem::exists(m_strPath + "/" + strName);
}

void MTempDir::makeDirectory(const std::string& strName) const {
    std::filesystem::create_directories(m_strPath + "/" + strName);
}

std::string thrownText(const std::function<void()>& call) {
    try {
        call();
    } catch (const MError& error) {
        return std::string(error.message().length() == 0 ? "" : &error.message()[0],
                           error.message().length());
    } catch (const char* pszMessage) {
        return pszMessage;
    } catch (MString& mstrMessage) {
        return std::string(mstrMessage.getAddress(), mstrMessage.length());
    } catch (...) {
        return "<unknown exception>";
    }
    return "";
}
