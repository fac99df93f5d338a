#pragma once
// A profile held in memory, for tests: what was set reads back; Flush counts.

#include <map>
#include <string>
#include <utility>

#include "platform/core/Profile.h"

namespace platform::testing {

class MemoryProfile final : public Profile {
public:
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const override
    {
        const auto it = m_values.find(Key(section, key));
        if (it == m_values.end())
            return defaultValue;
        try {
            return std::stoi(it->second);
        } catch (...) {
            return defaultValue;
        }
    }
    void SetInt(std::string_view section, std::string_view key, int value) override
    {
        m_values[Key(section, key)] = std::to_string(value);
    }
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const override
    {
        const auto it = m_values.find(Key(section, key));
        return it == m_values.end() ? std::string(defaultValue) : it->second;
    }
    void SetString(std::string_view section, std::string_view key, std::string_view value) override
    {
        m_values[Key(section, key)] = std::string(value);
    }
    bool Flush() override
    {
        ++m_flushes;
        return true;
    }

    bool Has(std::string_view section, std::string_view key) const { return m_values.count(Key(section, key)) > 0; }
    void Clear() { m_values.clear(); }
    int Flushes() const { return m_flushes; }

private:
    static std::pair<std::string, std::string> Key(std::string_view section, std::string_view key)
    {
        return { std::string(section), std::string(key) };
    }
    std::map<std::pair<std::string, std::string>, std::string> m_values;
    int m_flushes = 0;
};

} // namespace platform::testing
