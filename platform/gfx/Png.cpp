#include "platform/gfx/Png.h"

#include <png.h>

#include <cstring>

namespace platform::gfx {

bool WritePngFile(const std::filesystem::path& path, const Surface& picture)
{
    if (picture.IsEmpty())
        return false;
    std::vector<std::uint8_t> rgb(std::size_t(picture.Width()) * std::size_t(picture.Height()) * 3);
    std::size_t at = 0;
    for (Pixel p : picture.Pixels()) {
        rgb[at++] = std::uint8_t(RedOf(p));
        rgb[at++] = std::uint8_t(GreenOf(p));
        rgb[at++] = std::uint8_t(BlueOf(p));
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.Width());
    image.height = png_uint_32(picture.Height());
    image.format = PNG_FORMAT_RGB;
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

bool ReadPngFile(const std::filesystem::path& path, Surface& out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    Surface picture(int(image.width), int(image.height));
    std::size_t at = 0;
    for (Pixel& p : picture.Pixels()) {
        p = Rgb(rgb[at], rgb[at + 1], rgb[at + 2]);
        at += 3;
    }
    png_image_free(&image);
    out = std::move(picture);
    return true;
}

} // namespace platform::gfx
