#include "platform/wx/ScreenGrab.h"

#include <wx/utils.h>

#include "platform/gfx/Png.h"

// Xlib last: its macros (None, Status, Bool) clash with names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::wx {

namespace {

    int ShiftOf(unsigned long mask)
    {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return shift;
    }

} // namespace

std::optional<gfx::Surface> ScreenGrab::Grab(Rect area)
{
    auto* display = static_cast<Display*>(wxGetDisplay());
    if (!display)
        return std::nullopt;
    XSync(display, False);
    const int screen = DefaultScreen(display);
    area = area.Intersect({ 0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen) });
    if (area.IsEmpty())
        return std::nullopt;
    XImage* image = XGetImage(display, RootWindow(display, screen), area.left, area.top, unsigned(area.Width()),
        unsigned(area.Height()), AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    const int red = ShiftOf(image->red_mask), green = ShiftOf(image->green_mask), blue = ShiftOf(image->blue_mask);
    gfx::Surface picture(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) {
        gfx::Pixel* row = picture.Row(y);
        for (int x = 0; x < area.Width(); ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            row[x] = gfx::Rgb(int((p & image->red_mask) >> red), int((p & image->green_mask) >> green),
                int((p & image->blue_mask) >> blue));
        }
    }
    XDestroyImage(image);
    return picture;
}

bool ScreenGrab::SavePng(Rect area, const std::filesystem::path& path)
{
    const auto picture = Grab(area);
    return picture && gfx::WritePngFile(path, *picture);
}

} // namespace platform::wx
