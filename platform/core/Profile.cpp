#include "platform/core/Profile.h"

#include <cstdlib>

namespace platform {

namespace {

    const char* NonEmptyEnvironment(const char* name)
    {
        const char* value = std::getenv(name);
        return value && *value ? value : nullptr;
    }

} // namespace

std::filesystem::path ProfileFolder()
{
    if (const char* dir = NonEmptyEnvironment("VL_CONFIG_DIR"))
        return dir;
    if (const char* dir = NonEmptyEnvironment("XDG_CONFIG_HOME"))
        return std::filesystem::path(dir) / "Brindlewick";
    if (const char* home = NonEmptyEnvironment("HOME"))
        return std::filesystem::path(home) / ".config" / "Brindlewick";
    return std::filesystem::path(".config") / "Brindlewick";
}

} // namespace platform
