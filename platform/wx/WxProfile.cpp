#include "platform/wx/WxProfile.h"

#include <wx/fileconf.h>

#include <filesystem>

namespace platform::wx {

namespace {

    wxString PathOf(std::string_view section, std::string_view key)
    {
        std::string path;
        path.reserve(section.size() + key.size() + 2);
        path.append(1, '/').append(section).append(1, '/').append(key);
        return wxString::FromUTF8(path);
    }

} // namespace

WxProfile::WxProfile(const std::string& program)
{
    const auto folder = ProfileFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const auto file = folder / (program + ".ini");
    m_config = std::make_unique<wxFileConfig>(wxString::FromUTF8(program), wxEmptyString,
        wxString::FromUTF8(file.string()), wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
}

WxProfile::~WxProfile() = default;

int WxProfile::GetInt(std::string_view section, std::string_view key, int defaultValue) const
{
    long value = defaultValue;
    if (!m_config->Read(PathOf(section, key), &value, defaultValue))
        return defaultValue;
    return static_cast<int>(value);
}

void WxProfile::SetInt(std::string_view section, std::string_view key, int value)
{
    m_config->Write(PathOf(section, key), static_cast<long>(value));
}

std::string WxProfile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    wxString value;
    if (!m_config->Read(PathOf(section, key), &value))
        return std::string(defaultValue);
    return value.ToStdString(wxConvUTF8);
}

void WxProfile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    m_config->Write(PathOf(section, key), wxString::FromUTF8(std::string(value)));
}

bool WxProfile::Flush() { return m_config->Flush(); }

} // namespace platform::wx
