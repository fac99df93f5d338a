#include "mapview/graphics/FileBitmap.h"

#include "mapview/graphics/DibFile.h"

using namespace platform;

FileBitmap::FileBitmap(const std::filesystem::path& path)
    : m_image(DibFile(path).Picture())
{
}

FileBitmap::FileBitmap(const AssetFiles& assets, std::string_view name)
    : m_image(DibFile(assets, name).Picture())
{
}

void FileBitmap::Draw(gfx::Canvas& dst, const Rect& dstRect, Point from) const
{
    dst.DrawSurface(dstRect.TopLeft(), m_image, Rect::FromPointSize(from, dstRect.GetSize()));
}
