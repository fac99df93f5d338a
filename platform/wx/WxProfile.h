#pragma once
// The profile as an INI file (wxFileConfig) in the profile folder:
// "<folder>/<program>.ini". wx writes through a temporary file and a rename.

#include <memory>
#include <string>

#include "platform/core/Profile.h"

class wxFileConfig;

namespace platform::wx {

class WxProfile final : public Profile {
public:
    explicit WxProfile(const std::string& program);
    ~WxProfile() override;
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const override;
    void SetInt(std::string_view section, std::string_view key, int value) override;
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const override;
    void SetString(std::string_view section, std::string_view key, std::string_view value) override;
    bool Flush() override;

private:
    std::unique_ptr<wxFileConfig> m_config;
};

} // namespace platform::wx
