#pragma once
// The layout table of the art tool (data/art/layout.txt): one line per
// picture file the programs read, with its size, its cell grid and the
// recipe that draws it, or the full-size file a half- or quarter-size file is
// sampled from, or "later" for families the 2D views do not read yet.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ArtEntry {
    std::string file; // e.g. "Brown2d.bmp"
    int width = 0;
    int height = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    std::string recipe; // e.g. "soil"; empty for scaled and later entries
    int argument = 0; // the recipe's number (palette, nation, ...)
    int divisor = 1; // 2 or 4: sampled from `source`
    std::string source;
    bool later = false; // listed, not drawn by this tool yet
};

struct ArtLayout {
    std::vector<ArtEntry> entries;

    // The entry of a file name (case-insensitive); null when none.
    const ArtEntry* Find(std::string_view file) const;
};

// Reads the table's text. Blank lines and lines starting with "#" are
// skipped. Any other line that does not parse, a size outside 1..4096, a
// cell larger than its picture, a file listed twice, or a scaled file whose
// source is not listed before it as a full-size entry fails the whole read:
// nothing, and the line number in `error`.
std::optional<ArtLayout> ParseArtLayout(std::string text, std::string& error);
