#include "mapview/graphics/DibFile.h"

using platform::gfx::BmpError;
using platform::gfx::BmpInfo;

DibFile::DibFile(const std::filesystem::path& path)
{
    BmpInfo info;
    const BmpError error = platform::gfx::ReadBmpFile(path, m_picture, &info);
    Take(error, info);
}

DibFile::DibFile(const platform::AssetFiles& assets, std::string_view name)
{
    if (const auto path = assets.Resolve(name))
        *this = DibFile(*path);
}

bool DibFile::Read(std::span<const std::uint8_t> bytes)
{
    BmpInfo info;
    const BmpError error = platform::gfx::ReadBmp(bytes, m_picture, &info);
    return Take(error, info);
}

bool DibFile::Take(BmpError error, const BmpInfo& info)
{
    m_error = error;
    if (error != BmpError::None) {
        m_picture = {};
        m_colours = 0;
        return false;
    }
    m_colours = info.tableColours;
    return true;
}
