#include "tools/art/ArtLayout.h"

#include <cctype>
#include <span>

#include "model/TextScan.h"

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool ReadInt(TextCursor& in, int& value, int low, int high)
{
    std::int32_t v = 0;
    in.SkipBlanks();
    if (!in.ReadInt(v) || v < low || v > high)
        return false;
    value = v;
    return true;
}

bool ParseLine(std::string_view line, const ArtLayout& layout, ArtEntry& entry)
{
    TextCursor in(line);
    std::string_view word;
    if (!in.ReadWord(word))
        return false;
    entry.file = std::string(word);
    if (layout.Find(entry.file))
        return false;
    if (!in.ReadWord(word))
        return false;
    if (word == "later") {
        entry.later = true;
    } else if (word == "half" || word == "quarter") {
        entry.divisor = word == "half" ? 2 : 4;
        if (!in.ReadWord(word))
            return false;
        const ArtEntry* source = layout.Find(word);
        if (!source || source->divisor != 1 || source->later)
            return false;
        entry.source = source->file;
        entry.width = source->width / entry.divisor;
        entry.height = source->height / entry.divisor;
        entry.cellWidth = source->cellWidth / entry.divisor;
        entry.cellHeight = source->cellHeight / entry.divisor;
        if (entry.width < 1 || entry.height < 1 || entry.cellWidth < 1 || entry.cellHeight < 1)
            return false;
    } else {
        TextCursor size(word);
        if (!ReadInt(size, entry.width, 1, 4096) || !size.AtEnd())
            return false;
        if (!ReadInt(in, entry.height, 1, 4096) || !ReadInt(in, entry.cellWidth, 1, entry.width)
            || !ReadInt(in, entry.cellHeight, 1, entry.height))
            return false;
        if (!in.ReadWord(word))
            return false;
        entry.recipe = std::string(word);
        in.SkipBlanks();
        if (!in.AtEnd() && !ReadInt(in, entry.argument, 0, 999))
            return false;
    }
    in.SkipBlanks();
    return in.AtEnd();
}

} // namespace

const ArtEntry* ArtLayout::Find(std::string_view file) const
{
    for (const ArtEntry& e : entries)
        if (SameName(e.file, file))
            return &e;
    return nullptr;
}

std::optional<ArtLayout> ParseArtLayout(std::string text, std::string& error)
{
    ArtLayout layout;
    LineReader lines(std::span<char>(text.data(), text.size()));
    std::string_view line;
    int number = 0;
    while (lines.Next(line)) {
        ++number;
        const std::string_view trimmed = TrimLeft(line);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;
        ArtEntry entry;
        if (!ParseLine(trimmed, layout, entry)) {
            error = "layout line " + std::to_string(number) + " is not understood";
            return std::nullopt;
        }
        layout.entries.push_back(std::move(entry));
    }
    if (lines.Failed()) {
        error = "layout line " + std::to_string(number + 1) + " is too long";
        return std::nullopt;
    }
    return layout;
}
