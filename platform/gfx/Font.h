#pragma once
// A FreeType face at one size, its glyphs rendered once and cached.
//
// A positive height is the cell height (ascent plus descent), a negative one
// the em height. Weight 600 and up is bold. Glyphs are grey-scale coverage,
// except for monochrome fonts (text inside keyed pictures, which must not
// blend into the key colour), whose coverage is 0 or 255.
//
// Text is UTF-8 when it is valid UTF-8, else one Latin-1 character per byte.
// A font whose file cannot be opened is invalid: its text has no width and
// draws nothing.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Size.h"

namespace platform::gfx {

struct FontSpec {
    std::string face = "MS Sans Serif";
    int height = -13;
    int weight = 400;
    bool italic = false;
    bool monochrome = false;
};

class Font {
public:
    struct Glyph {
        int left = 0; // from the pen to the bitmap's left column
        int top = 0; // from the baseline up to the bitmap's top row
        int width = 0;
        int height = 0;
        int advance = 0;
        std::vector<std::uint8_t> coverage; // width * height, 0..255
    };

    explicit Font(FontSpec spec);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool IsValid() const;
    const FontSpec& Spec() const { return m_spec; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int CellHeight() const { return m_ascent + m_descent; }

    // Sum of advances by cell height.
    Size Extent(std::string_view text) const;
    const Glyph& GetGlyph(char32_t c) const;

    static std::u32string Decode(std::string_view text);

private:
    struct Impl;
    FontSpec m_spec;
    std::unique_ptr<Impl> m_impl;
    int m_ascent = 0;
    int m_descent = 0;
    mutable std::map<char32_t, Glyph> m_glyphs;
};

} // namespace platform::gfx
