#include "plc/PathName.h"

#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

CPathName::CPathName(const std::string& path) : m_strText(path) {
    std::string text = path;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    if (text.empty()) return;

    size_t pos = 0;
    if (text.size() >= 2 && text[1] == ':') {
        m_strDrive = text.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = text.find_last_of("\\/");
    std::string name;
    if (lastSep != std::string::npos && lastSep >= pos) {
        m_strDirectory = text.substr(pos, lastSep + 1 - pos);
        name = text.substr(lastSep + 1);
    } else {
        name = text.substr(pos);
    }
    std::replace(m_strDirectory.begin(), m_strDirectory.end(), '/', '\\');
    m_bRelative = !m_strDirectory.empty() && m_strDirectory[0] != '\\';

    size_t dot = name.rfind('.');
    m_strFileName = dot == std::string::npos ? name : name.substr(0, dot);
    if (!m_strFileName.empty() && dot != std::string::npos) {
        m_strExtension = name.substr(dot + 1);
        m_strExtension.erase(std::remove(m_strExtension.begin(), m_strExtension.end(), '.'),
                             m_strExtension.end());
    }
}

const std::string& CPathName::GetFullPath() {
    m_strFullPath = m_strDrive + m_strDirectory + m_strFileName;
    if (!m_strExtension.empty()) m_strFullPath += "." + m_strExtension;
    return m_strFullPath;
}

std::string CPathName::GetLongPath() const {
    CPathName copy(*this);
    std::error_code ec;
    fs::path p = fs::canonical(platform::ResolvePath(copy.GetFullPath()), ec);
    return ec ? std::string() : p.string();
}

bool CPathName::GetFileSize(uint64_t& size) {
    m_nFileSize = 0;
    size = 0;
    std::error_code ec;
    std::string p = platform::ResolvePath(GetFullPath());
    if (!fs::is_regular_file(p, ec)) return false;
    uintmax_t n = fs::file_size(p, ec);
    if (ec) return false;
    m_nFileSize = size = n;
    return true;
}

std::string CPathName::AddBackslash(const std::string& text, bool forwardSlash) {
    if (text.empty() || text.back() == '\\' || text.back() == '/') return text;
    return text + (forwardSlash ? '/' : '\\');
}
