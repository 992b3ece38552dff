#include "app/SkinIniFile.h"

#include <climits>

#include "platform/IniFile.h"

namespace orvane {

void CIniFile::Load(const std::string& path) {
    m_path = path.size() < PATH_MAX ? path : std::string();
}

std::unique_ptr<std::string> CIniFile::GetString(const std::string& section, const std::string& key) const {
    if (m_path.empty()) return nullptr;
    std::string value = IniReadString(m_path, section, key, "", kMaxValueChars + 1);
    if (value.empty()) return nullptr;
    return std::make_unique<std::string>(std::move(value));
}

} // namespace orvane
