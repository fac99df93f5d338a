#pragma once
// A picture file held in its own surface and drawn onto a window's back
// buffer, keyed on its top-left pixel when asked. A picture that cannot be
// loaded is reported once per path and run and stays empty: drawing from it
// draws nothing.

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/AssetFiles.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Surface.h"

class CDirectDrawWnd;

class BitmapSurface {
public:
    static constexpr const char* kLoadFailureText = "Failure to create bitmap surface: ";
    static constexpr const char* kCaption = "Direct Draw Message";

    BitmapSurface() = default;
    // Loads a BMP file found through the asset lookup; reports a failure
    // (text + path) once per path. The colour key is not set here.
    BitmapSurface(platform::AssetFiles& assets, std::string_view path);
    // A scaled copy: num/den of the source's size; a keyed source gives a
    // keyed copy.
    BitmapSurface(const BitmapSurface& source, int num, int den);

    bool IsLoaded() const { return !m_surface.IsEmpty(); }
    int Width() const { return m_surface.Width(); }
    int Height() const { return m_surface.Height(); }
    const platform::gfx::Surface& Surface() const { return m_surface; }
    platform::gfx::Surface& Surface() { return m_surface; }

    // Takes the key from pixel (0, 0); false for an empty picture.
    bool SetColorKeyFromCorner();
    bool IsKeyed() const { return m_surface.IsKeyed(); }
    // The pixel differs from the corner; false outside or when empty.
    bool IsPixelSet(int x, int y) const { return m_surface.IsPixelSet(x, y); }

    // The window's DrawSurface at dst (picture coordinates) from the top left
    // of src, keyed when the picture is.
    void Draw(const platform::Rect& dst, CDirectDrawWnd& window, const platform::Rect& src) const;

private:
    platform::gfx::Surface m_surface;
};
