// vlrender: renders a battle in a view mode, headless, to a PNG file, for
// reviewers.
//
//   vlrender [--mode 1|2] [--rotated] [--art <folder>] [--size <w>x<h>]
//            [--centre <column> <row>] [--labels] [--outlines] [--contours]
//            [--visible <column> <row>] <battle file> <out.png>
//
// The pictures come from the battle's folder unless --art names another
// (the diagnostic art, say). The centre is a map hex; by default the map's
// middle. --labels shows the map's labels, --outlines and --contours the
// hex outlines and elevation contours, --visible shades the hexes that the
// map hex given (made the hot spot) cannot see.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gfx/Png.h"
#include "tools/render/HeadlessMap.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
        "usage: vlrender [--mode 1|2] [--rotated] [--art <folder>] [--size <w>x<h>] [--centre <column> <row>] "
        "[--labels] [--outlines] [--contours] [--visible <column> <row>] <battle file> <out.png>\n");
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
        } else if (option == "--mode" && i + 1 < argc) {
            if (!ToInt(argv[++i], mode) || (mode != 1 && mode != 2))
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
    map.Show(mode, rotated, centre);
    if (rotated && !map.View().IsRotated())
        std::fprintf(stderr, "vlrender: a map of odd width cannot be turned; shown unturned\n");
    CMapView& view = map.View();
    if (eye.column >= 0 && eye.row >= 0) {
        if (!hexes.IsOnMap(eye.column, eye.row)) {
            std::fprintf(stderr, "vlrender: hex %d, %d is not on the map\n", eye.column, eye.row);
            return 1;
        }
        const HexPos v = view.RotateHex(eye);
        view.SetHotSpot(v.column, v.row);
        view.ShowVisibleHexes(true);
    }
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
