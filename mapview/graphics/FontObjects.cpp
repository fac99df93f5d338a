#include "mapview/graphics/FontObjects.h"

#include <string>

std::unique_ptr<platform::gfx::Font> CreateFontObject(std::string_view face, int height, int weight, bool italic)
{
    platform::gfx::FontSpec spec;
    spec.face = std::string(face);
    spec.height = height;
    spec.weight = weight;
    spec.italic = italic;
    return std::make_unique<platform::gfx::Font>(std::move(spec));
}
