#include "platform/gfx/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/gfx/FontMap.h"

namespace platform::gfx {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Impl()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

Font::Font(FontSpec spec)
    : m_spec(std::move(spec))
    , m_impl(std::make_unique<Impl>())
{
    if (FT_Init_FreeType(&m_impl->library) != 0) {
        m_impl->library = nullptr;
        return;
    }
    const auto file = FontMap::FileFor(m_spec.face, m_spec.weight >= 600, m_spec.italic);
    if (FT_New_Face(m_impl->library, file.c_str(), 0, &m_impl->face) != 0) {
        m_impl->face = nullptr;
        return;
    }
    const int height = m_spec.height == 0 ? -13 : m_spec.height;
    FT_Size_RequestRec request {};
    request.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = FT_Long(height > 0 ? height : -height) * 64;
    if (FT_Request_Size(m_impl->face, &request) != 0) {
        FT_Done_Face(m_impl->face);
        m_impl->face = nullptr;
        return;
    }
    const FT_Size_Metrics& metrics = m_impl->face->size->metrics;
    m_ascent = int((metrics.ascender + 63) / 64);
    m_descent = int((-metrics.descender + 63) / 64);
}

Font::~Font() = default;

bool Font::IsValid() const { return m_impl->face != nullptr; }

const Font::Glyph& Font::GetGlyph(char32_t c) const
{
    auto found = m_glyphs.find(c);
    if (found != m_glyphs.end())
        return found->second;
    Glyph& glyph = m_glyphs[c];
    FT_Face face = m_impl->face;
    if (!face)
        return glyph;
    const FT_Int32 flags = FT_LOAD_RENDER | (m_spec.monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, c, flags) != 0)
        return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.advance = int((slot->advance.x + 32) / 64);
    glyph.coverage.assign(std::size_t(glyph.width) * std::size_t(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            std::uint8_t value;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                value = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
            else
                value = row[x];
            glyph.coverage[std::size_t(y) * std::size_t(glyph.width) + std::size_t(x)] = value;
        }
    }
    return glyph;
}

Size Font::Extent(std::string_view text) const
{
    if (!IsValid())
        return { 0, 0 };
    int width = 0;
    for (char32_t c : Decode(text))
        width += GetGlyph(c).advance;
    return { width, CellHeight() };
}

std::u32string Font::Decode(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    bool valid = true;
    while (i < text.size() && valid) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + std::size_t(extra) >= text.size()) {
            valid = false;
            break;
        }
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(c);
        i += std::size_t(extra) + 1;
    }
    if (valid)
        return out;
    out.clear();
    for (char ch : text)
        out.push_back(static_cast<unsigned char>(ch));
    return out;
}

} // namespace platform::gfx
