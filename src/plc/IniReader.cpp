#include "plc/IniReader.h"

#include "platform/Profile.h"

CIniReader::CIniReader(const std::string& path) : m_path(path) {}

int CIniReader::ReadInt(const std::string& section, const std::string& key, int def) const {
    return platform::GetPrivateProfileInt(section, key, def, m_path);
}

std::string CIniReader::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    return platform::GetPrivateProfileString(section, key, def, 255, m_path);
}
