#pragma once
// A picture file kept ready for plain copies onto a canvas. A file that
// cannot be read gives an empty picture that draws nothing.

#include <filesystem>
#include <string_view>

#include "platform/core/AssetFiles.h"
#include "platform/core/Point.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

class FileBitmap {
public:
    explicit FileBitmap(const std::filesystem::path& path);
    FileBitmap(const platform::AssetFiles& assets, std::string_view name);

    int GetWidth() const { return m_image.Width(); }
    int GetHeight() const { return m_image.Height(); }
    const platform::gfx::Surface& Image() const { return m_image; }

    // Copies the dstRect-sized part of the picture at `from` (clipped to the
    // picture) to dstRect.
    void Draw(platform::gfx::Canvas& dst, const platform::Rect& dstRect, platform::Point from) const;

private:
    platform::gfx::Surface m_image;
};
