// vldata: the data tool. Scrambles or descrambles a text file line by line
// with one of the rotation variants the programs read, so that our data can be
// kept as plain readable sources and turned into the files the programs open.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/DataFile.h"
#include "model/GameData.h"
#include "model/HexMap.h"
#include "model/HexValues.h"
#include "model/Scramble.h"

namespace {

using Transform = std::string (*)(std::string line);

// The readers drop one carriage return from the end of a stored line before
// they descramble it, and the key depends on the length: a scrambled line must
// not end in one. Carriage returns left at the end of a source line (a line
// end of "\r\r\n") are line-end debris, never text, and go.
std::string WithoutLineEnd(std::string line)
{
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string ScrambleMain(std::string line) { return ScrambleLine(WithoutLineEnd(std::move(line))); }
std::string ScramblePass(std::string line) { return ScramblePassword(WithoutLineEnd(std::move(line))); }
std::string ScrambleX(std::string line) { return ScrambleLineX(WithoutLineEnd(std::move(line))); }
std::string ScrambleY(std::string line) { return ScrambleLineY(WithoutLineEnd(std::move(line))); }
std::string DescrambleMain(std::string line)
{
    DescrambleLine(line);
    return line;
}
std::string DescramblePass(std::string line)
{
    DescramblePassword(line);
    return line;
}
std::string DescrambleX(std::string line)
{
    DescrambleLineX(line);
    return line;
}
std::string DescrambleY(std::string line)
{
    DescrambleLineY(line);
    return line;
}

struct Variant {
    std::string_view name;
    Transform scramble;
    Transform descramble;
};

constexpr Variant kVariants[] = {
    { "line", ScrambleMain, DescrambleMain },
    { "password", ScramblePass, DescramblePass },
    { "x", ScrambleX, DescrambleX },
    { "y", ScrambleY, DescrambleY },
};

int Usage()
{
    std::cerr << "usage: vldata scramble|descramble line|password|x|y INPUT OUTPUT\n"
                 "       vldata scramble-map INPUT OUTPUT\n"
                 "       vldata scramble-battle INPUT OUTPUT\n"
                 "  Rotates every line of INPUT with the chosen variant and writes OUTPUT.\n"
                 "  scramble-map stores a plain map source as the map reader takes it: from\n"
                 "  version 4 the size, header, terrain and elevation lines are rotated with\n"
                 "  the variant of the version line's flag (none: line, X: x, Y: y).\n"
                 "  scramble-battle stores a plain battle source as the battle reader takes it:\n"
                 "  from version 8 the map and organisation file-name lines (9 and 10) are\n"
                 "  rotated with the line variant, from version 9 followed by one blank.\n";
    return 2;
}

bool ReadAllLines(const char* inputName, std::vector<std::string>& lines)
{
    std::ifstream in(inputName, std::ios::binary);
    if (!in) {
        std::cerr << "vldata: cannot open " << inputName << "\n";
        return false;
    }
    std::string line;
    while (ReadDataLine(in, line))
        lines.push_back(line);
    if (in.bad()) {
        std::cerr << "vldata: cannot read " << inputName << "\n";
        return false;
    }
    if (!in.eof()) {
        std::cerr << "vldata: " << inputName << ": line " << lines.size() + 1 << " is too long\n";
        return false;
    }
    return true;
}

// A failed conversion leaves no half-written output behind.
int WriteAllLines(const char* outputName, const std::vector<std::string>& lines)
{
    const std::string error = WriteFileAtomically(outputName, [&lines](std::ostream& out) {
        for (const std::string& line : lines)
            out << line << '\n';
        return static_cast<bool>(out);
    });
    if (error.empty())
        return 0;
    std::cerr << "vldata: " << error << "\n";
    return 1;
}

int Convert(Transform transform, const char* inputName, const char* outputName)
{
    std::vector<std::string> lines;
    if (!ReadAllLines(inputName, lines))
        return 1;
    for (std::string& line : lines)
        line = transform(line);
    return WriteAllLines(outputName, lines);
}

// The map reader descrambles the size, header, terrain and elevation lines of
// a version 4 or later file, with the variant its version line's flag names
// ("Y" wins over "X"); every other line is stored plain.
int ScrambleMap(const char* inputName, const char* outputName)
{
    std::vector<std::string> lines;
    if (!ReadAllLines(inputName, lines))
        return 1;
    auto fail = [inputName](const char* what) {
        std::cerr << "vldata: " << inputName << ": " << what << "\n";
        return 1;
    };
    int version = 0;
    std::istringstream versionLine(lines.empty() ? std::string() : lines[0]);
    if (!(versionLine >> version) || version < 1 || version > HexMap::kCurrentVersion)
        return fail("no map version 1 to 6 on the first line");
    if (version < 4)
        return WriteAllLines(outputName, lines);

    std::string flags;
    std::getline(versionLine, flags);
    Transform scramble = ScrambleMain;
    if (flags.find('Y') != std::string::npos)
        scramble = ScrambleY;
    else if (flags.find('X') != std::string::npos)
        scramble = ScrambleX;

    int width = 0;
    int height = 0;
    std::istringstream sizeLine(lines.size() > 1 ? lines[1] : std::string());
    if (!(sizeLine >> width >> height) || width < 1 || height < 1 || width > HexMap::kMaxMapSize
        || height > HexMap::kMaxMapSize)
        return fail("no map size on the second line");
    // Size, header, then one terrain and one elevation line per row.
    const std::size_t last = 3 + 2 * static_cast<std::size_t>(height);
    if (lines.size() < last)
        return fail("the file ends before the last elevation row");
    for (std::size_t i = 1; i < last; ++i)
        lines[i] = scramble(lines[i]);
    return WriteAllLines(outputName, lines);
}

// The battle reader descrambles the map and organisation file-name lines of a
// version 8 or later file, after dropping the one blank that follows them from
// version 9; everything else is stored plain.
int ScrambleBattle(const char* inputName, const char* outputName)
{
    std::vector<std::string> lines;
    if (!ReadAllLines(inputName, lines))
        return 1;
    auto fail = [inputName](const std::string& what) {
        std::cerr << "vldata: " << inputName << ": " << what << "\n";
        return 1;
    };
    int version = 0;
    std::istringstream versionLine(lines.empty() ? std::string() : lines[0]);
    if (!(versionLine >> version) || version < 1 || version > CGameData::kCurrentVersion)
        return fail("no battle file version 1 to 10 on the first line");
    constexpr std::size_t kMapNameLine = 8;
    constexpr std::size_t kOrgNameLine = 9;
    if (lines.size() <= kOrgNameLine)
        return fail("the file ends before the organisation file-name line");
    // The game's reader and writer take the same names; carriage returns
    // left at their ends are line-end debris.
    for (const std::size_t index : { kMapNameLine, kOrgNameLine }) {
        lines[index] = WithoutLineEnd(lines[index]);
        if (!HexValues::IsStoredFileName(lines[index]))
            return fail("line " + std::to_string(index + 1)
                + ": the file name is too long to be read back or holds a control character");
    }
    if (version < 8)
        return WriteAllLines(outputName, lines);

    for (const std::size_t index : { kMapNameLine, kOrgNameLine }) {
        std::string& name = lines[index];
        name = ScrambleMain(name);
        if (version >= 9)
            name += ' ';
    }
    return WriteAllLines(outputName, lines);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "scramble-map")
        return ScrambleMap(argv[2], argv[3]);
    if (argc == 4 && std::string_view(argv[1]) == "scramble-battle")
        return ScrambleBattle(argv[2], argv[3]);
    if (argc != 5)
        return Usage();
    const std::string_view command = argv[1];
    const std::string_view variantName = argv[2];
    for (const Variant& variant : kVariants) {
        if (variant.name != variantName)
            continue;
        if (command == "scramble")
            return Convert(variant.scramble, argv[3], argv[4]);
        if (command == "descramble")
            return Convert(variant.descramble, argv[3], argv[4]);
        return Usage();
    }
    return Usage();
}
