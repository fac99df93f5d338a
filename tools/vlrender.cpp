// vlrender: renders a battle in a view mode, headless, to a PNG file, for
// reviewers.
//
//   vlrender [--mode 0..4] [--rotated] [--art <folder>] [--size <w>x<h>]
//            [--centre <column> <row>] [--labels] [--outlines] [--contours]
//            [--visible <column> <row>] [--mark <column> <row>]
//            [--trace <column> <row> <column> <row>] [--contact <column> <row> <kind>]
//            [--move <column> <row> <column> <row>]... <battle file> <out.png>
//
// Modes are the view's: 1 and 2 the 2D views, 0, 3 and 4 the 3D ones, whose
// terrain and units are not drawn yet: there only the overlays show (labels,
// contours and outlines, the hot spot) over a black map. The pictures come
// from the battle's folder unless --art names another
// (the diagnostic art, say). The centre is a map hex; by default the map's
// middle. --labels shows the map's labels, --outlines and --contours the
// hex outlines and elevation contours, --visible shades the hexes that the
// map hex given (made the hot spot) cannot see. --mark marks a hex as the
// line of sight's blocking hex; --trace sets a fire trace from a firer's hex
// to its target (the view draws its line only where the firer's hex has
// enemy contact 1, which --contact gives it: the kind of contact the side
// other than the hex's occupant has with it); each --move moves every unit of a hex one step as a
// move order does, leaving the move trail's arrows.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gfx/Png.h"
#include "tools/render/HeadlessMap.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
        "usage: vlrender [--mode 0..4] [--rotated] [--art <folder>] [--size <w>x<h>] [--centre <column> <row>] "
        "[--labels] [--outlines] [--contours] [--visible <column> <row>] [--mark <column> <row>] "
        "[--trace <column> <row> <column> <row>] [--contact <column> <row> <kind>] [--move <column> <row> <column> "
        "<row>]... "
        "<battle file> <out.png>\n");
    return 2;
}

bool ToInt(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || v < -100000 || v > 100000)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ToHexes(char** args, HexPos* hexes, int count)
{
    for (int k = 0; k < count; ++k)
        if (!ToInt(args[2 * k], hexes[k].column) || !ToInt(args[2 * k + 1], hexes[k].row))
            return false;
    return true;
}

bool CheckOnMap(const HexMap& map, HexPos hex)
{
    if (map.IsOnMap(hex.column, hex.row))
        return true;
    std::fprintf(stderr, "vlrender: hex %d, %d is not on the map\n", hex.column, hex.row);
    return false;
}

// Every unit of the step's first hex, moved as the move order moves them.
bool MoveStack(CGame& game, HexPos from, HexPos to)
{
    std::vector<int> positions;
    for (int i = 1; i <= game.CountStackUnits(from.column, from.row); ++i)
        positions.push_back(i);
    if (positions.empty()) {
        std::fprintf(stderr, "vlrender: no units at %d, %d to move\n", from.column, from.row);
        return false;
    }
    String refusal;
    game.MoveSelection(
        refusal, from.column, from.row, to.column, to.row, positions.data(), static_cast<int>(positions.size()));
    if (refusal.GetLength() > 0) {
        std::fprintf(stderr, "vlrender: move %d, %d -> %d, %d refused: %s\n", from.column, from.row, to.column, to.row,
            refusal.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int mode = 1;
    bool rotated = false;
    std::string art;
    platform::Size size { 1024, 768 };
    HexPos centre { -1, -1 };
    bool labels = false;
    bool outlines = false;
    bool contours = false;
    HexPos eye { -1, -1 };
    HexPos mark { -1, -1 };
    HexPos trace[2] = { { -1, -1 }, { -1, -1 } };
    std::vector<std::pair<HexPos, HexPos>> moves;
    HexPos contactHex { -1, -1 };
    int contact = 0;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        const std::string option = argv[i];
        if (option == "--rotated") {
            rotated = true;
        } else if (option == "--labels") {
            labels = true;
        } else if (option == "--outlines") {
            outlines = true;
        } else if (option == "--contours") {
            contours = true;
        } else if (option == "--visible" && i + 2 < argc) {
            if (!ToInt(argv[i + 1], eye.column) || !ToInt(argv[i + 2], eye.row))
                return Usage();
            i += 2;
        } else if (option == "--mark" && i + 2 < argc) {
            if (!ToHexes(argv + i + 1, &mark, 1))
                return Usage();
            i += 2;
        } else if (option == "--trace" && i + 4 < argc) {
            if (!ToHexes(argv + i + 1, trace, 2))
                return Usage();
            i += 4;
        } else if (option == "--contact" && i + 3 < argc) {
            if (!ToHexes(argv + i + 1, &contactHex, 1) || !ToInt(argv[i + 3], contact) || contact < 0 || contact > 2)
                return Usage();
            i += 3;
        } else if (option == "--move" && i + 4 < argc) {
            HexPos step[2];
            if (!ToHexes(argv + i + 1, step, 2))
                return Usage();
            moves.emplace_back(step[0], step[1]);
            i += 4;
        } else if (option == "--mode" && i + 1 < argc) {
            if (!ToInt(argv[++i], mode) || mode < 0 || mode > 4)
                return Usage();
        } else if (option == "--art" && i + 1 < argc) {
            art = argv[++i];
        } else if (option == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &size.width, &size.height) != 2 || size.width < 1 || size.height < 1
                || size.width > 8192 || size.height > 8192)
                return Usage();
        } else if (option == "--centre" && i + 2 < argc) {
            if (!ToInt(argv[i + 1], centre.column) || !ToInt(argv[i + 2], centre.row))
                return Usage();
            i += 2;
        } else {
            return Usage();
        }
    }
    if (argc - i != 2)
        return Usage();
    const std::filesystem::path battle = argv[i];
    const std::filesystem::path output = argv[i + 1];
    std::error_code ec;
    const std::filesystem::path artFolder
        = art.empty() ? std::filesystem::absolute(battle, ec).parent_path() : std::filesystem::absolute(art, ec);

    HeadlessMap map(std::filesystem::absolute(battle, ec).parent_path(), artFolder, size);
    std::string error;
    if (!map.ReadBattle(battle, error)) {
        std::fprintf(stderr, "vlrender: %s: %s\n", battle.c_str(), error.c_str());
        return 1;
    }
    const HexMap& hexes = map.Game().m_map;
    if (centre.column < 0 || centre.row < 0)
        centre = { hexes.GetWidth() / 2, hexes.GetHeight() / 2 };
    for (const auto& [from, to] : moves)
        if (!CheckOnMap(hexes, from) || !CheckOnMap(hexes, to) || !MoveStack(map.Game(), from, to))
            return 1;
    if (mark.column >= 0 || mark.row >= 0) {
        if (!CheckOnMap(hexes, mark))
            return 1;
        map.Game().m_blockingHex = mark;
    }
    if (contactHex.column >= 0 || contactHex.row >= 0) {
        if (!CheckOnMap(hexes, contactHex))
            return 1;
        const int enemy = 1 - map.Game().SideInHex(contactHex.column, contactHex.row);
        if (enemy < 0 || enemy > 1) {
            std::fprintf(
                stderr, "vlrender: no units at %d, %d to be in contact with\n", contactHex.column, contactHex.row);
            return 1;
        }
        map.Game().SetContact(contactHex.column, contactHex.row, enemy, contact, 1);
    }
    if (trace[0].column >= 0 || trace[0].row >= 0) {
        if (!CheckOnMap(hexes, trace[0]) || !CheckOnMap(hexes, trace[1]))
            return 1;
        map.Game().SetFireTrace(
            HexSide::None, trace[0].column, trace[0].row, HexSide::None, trace[1].column, trace[1].row);
    }
    map.Show(mode, rotated, centre);
    if (rotated && !map.View().IsRotated())
        std::fprintf(stderr, "vlrender: a map of odd width cannot be turned; shown unturned\n");
    CMapView& view = map.View();
    if (view.Is3D()) {
        // The picture of the window's creation would show through.
        view.BackBuffer().Fill(0);
        view.Redraw();
    }
    if (eye.column >= 0 && eye.row >= 0) {
        if (!hexes.IsOnMap(eye.column, eye.row)) {
            std::fprintf(stderr, "vlrender: hex %d, %d is not on the map\n", eye.column, eye.row);
            return 1;
        }
        const HexPos v = view.RotateHex(eye);
        view.SetHotSpot(v.column, v.row);
        view.ShowVisibleHexes(true);
    }
    if (trace[0].column >= 0 && !view.ShouldDrawTraceLine(view.RotateHex(trace[0]), view.RotateHex(trace[1])))
        std::fprintf(stderr,
            trace[0] == trace[1] ? "vlrender: no trace line for a trace on one hex\n"
                                 : "vlrender: no trace line: the firer's hex has enemy contact %d (the line needs 1)\n",
            map.Game().GetEnemyContact(trace[0].column, trace[0].row));
    if (outlines)
        view.ToggleHexOutlines();
    if (contours)
        view.ToggleContours();
    if (labels)
        view.ShowLabels(true);
    for (const auto& report : map.Services().reports)
        std::fprintf(stderr, "vlrender: %s\n", report.text.c_str());
    if (!platform::gfx::WritePngFile(output, map.Screen())) {
        std::fprintf(stderr, "vlrender: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
