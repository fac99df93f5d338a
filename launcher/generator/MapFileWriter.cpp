// The map file of a generated map (format version 3, plain text) and the
// place names of its labels.

#include "launcher/generator/RandomMap.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

// '0'..'9' for 0..9, 'a'..'c' for 10..12, '6' for anything else.
char LevelChar(int value)
{
    if (value >= 0 && value <= 9)
        return static_cast<char>('0' + value);
    if (value >= 10 && value <= 12)
        return static_cast<char>('a' + value - 10);
    return '6';
}

} // namespace

void RandomMap::FormatTerrainRow(std::string& buffer, int row) const
{
    const int width = m_geometry->Width();
    buffer.resize(static_cast<std::size_t>(width));
    const MapCell* cells = &Cell(m_geometry->CellIndex(0, row));
    for (int x = 0; x < width; ++x)
        buffer[static_cast<std::size_t>(x)] = cells[x].terrain;
}

void RandomMap::FormatElevationRow(std::string& buffer, int row) const
{
    const int width = m_geometry->Width();
    buffer.resize(static_cast<std::size_t>(width));
    const MapCell* cells = &Cell(m_geometry->CellIndex(0, row));
    for (int x = 0; x < width; ++x)
        buffer[static_cast<std::size_t>(x)] = LevelChar(cells[x].elevation);
}

void RandomMap::FormatLayerRow(std::string& buffer, int layer, int row) const
{
    const int width = m_geometry->Width();
    buffer.resize(static_cast<std::size_t>(width));
    const MapCell* cells = &Cell(m_geometry->CellIndex(0, row));
    const auto index = static_cast<std::size_t>(layer);
    for (int x = 0; x < width; ++x)
        buffer[static_cast<std::size_t>(x)] = static_cast<char>((cells[x].layers[index] & 63) + 32);
}

void RandomMap::FormatRandomRow(std::string& buffer, int row) const
{
    const int width = m_geometry->Width();
    buffer.resize(static_cast<std::size_t>(width));
    const MapCell* cells = &Cell(m_geometry->CellIndex(0, row));
    for (int x = 0; x < width; ++x)
        buffer[static_cast<std::size_t>(x)] = LevelChar(cells[x].random);
}

std::string RandomMap::WriteMapFile(const std::filesystem::path& path)
{
    if (!m_geometry)
        return kWriteErrorText;
    const std::string error = WriteFileAtomically(path, [this](std::ostream& out) {
        const int height = m_geometry->Height();
        const int theme = m_mapTheme >= -1 && m_mapTheme <= 4 ? m_mapTheme : -1;
        // The body is version 3's whatever the version parameter holds.
        out << "3\n" << m_geometry->Width() << ' ' << height << "\n0 20 1 1 0 " << theme << '\n';
        std::string row;
        auto rows = [&](auto format) {
            for (int y = 0; y < height; ++y) {
                format(row, y);
                row += '\n';
                out.write(row.data(), static_cast<std::streamsize>(row.size()));
            }
        };
        rows([this](std::string& buffer, int y) { FormatTerrainRow(buffer, y); });
        rows([this](std::string& buffer, int y) { FormatElevationRow(buffer, y); });
        for (int layer = 0; layer < kMapFileLayerCount; ++layer) {
            out << "1\n";
            rows([this, layer](std::string& buffer, int y) { FormatLayerRow(buffer, layer, y); });
        }
        out << "1\n";
        rows([this](std::string& buffer, int y) { FormatRandomRow(buffer, y); });
        std::string labels;
        WriteMapLabels(labels);
        out << labels;
        return static_cast<bool>(out);
    });
    return error.empty() ? std::string() : std::string(kWriteErrorText);
}

void RandomMap::WriteMapLabels(std::string& text)
{
    const std::vector<std::string> names = LoadPlaceNames();
    // With no names there is nothing to label with: no lines, no draws.
    if (names.empty())
        return;
    const auto count = static_cast<std::int16_t>(names.size());
    for (const MapLabelPosition& label : m_townLabels) {
        const std::string& name = names[static_cast<std::size_t>(m_random.RollRandom(count) - 1)];
        text += std::to_string(label.column) + ".5 " + std::to_string(label.row) + ".5 1 1 0 " + name + "\n";
    }
    for (const MapLabelPosition& label : m_riverLabels) {
        const std::string& name = names[static_cast<std::size_t>(m_random.RollRandom(count) - 1)];
        const int column = label.column == 0 ? 3 : label.column;
        text += std::to_string(column) + ".5 " + std::to_string(label.row) + ".5 1 1 1 " + name + " River\n";
    }
}

std::vector<std::string> RandomMap::LoadPlaceNames() const { return ReadPlaceNameFile(m_placeNameFile); }

std::vector<std::string> RandomMap::ReadPlaceNameFile(int number) const
{
    std::vector<std::string> names;
    std::ifstream in = OpenDataFile(DataFilePath("mapname" + std::to_string(number) + ".txt"));
    if (!in.is_open())
        return names;
    std::string line;
    // An over-long line or a read error ends the list where it stands.
    while (static_cast<int>(names.size()) < kMaxPlaceNames && ReadDataLine(in, line)) {
        if (IsBlankLine(line))
            continue;
        if (line.size() > kMaxPlaceNameLength)
            line.resize(kMaxPlaceNameLength);
        names.push_back(line);
    }
    return names;
}
