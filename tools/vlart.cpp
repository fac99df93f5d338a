// vlart: draws every picture file of the layout table into a folder.
//
//   vlart [--diagnostic] <layout.txt> <output folder>
//
// The demo art is drawn by integer recipes with one seeded generator per
// sheet, so two runs write identical files. With --diagnostic every cell is
// one colour naming its sheet, column and row (see tools/art/ArtPainter.h).
// Families the layout marks "later" are listed once and not written.

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "model/DataFile.h"
#include "platform/gfx/Bmp.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/ArtPainter.h"

int main(int argc, char** argv)
{
    bool diagnostic = false;
    int first = 1;
    if (argc > 1 && std::string(argv[1]) == "--diagnostic") {
        diagnostic = true;
        first = 2;
    }
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: vlart [--diagnostic] <layout.txt> <output folder>\n");
        return 2;
    }
    std::string text;
    if (ReadDataFileText(argv[first], text) != DataFileRead::kRead) {
        std::fprintf(stderr, "vlart: cannot read %s\n", argv[first]);
        return 1;
    }
    std::string error;
    const auto layout = ParseArtLayout(std::move(text), error);
    if (!layout) {
        std::fprintf(stderr, "vlart: %s: %s\n", argv[first], error.c_str());
        return 1;
    }
    const std::filesystem::path folder = argv[first + 1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    std::map<std::string, platform::gfx::Surface> drawn;
    auto lookup = [&](const std::string& file) -> const platform::gfx::Surface* {
        const auto it = drawn.find(file);
        return it == drawn.end() ? nullptr : &it->second;
    };
    int later = 0;
    int sheet = 0;
    for (const ArtEntry& entry : layout->entries) {
        ++sheet;
        if (entry.later) {
            ++later;
            continue;
        }
        platform::gfx::Surface picture = art::DrawArtEntry(entry, sheet, diagnostic, lookup, error);
        if (picture.IsEmpty()) {
            std::fprintf(stderr, "vlart: %s\n", error.c_str());
            return 1;
        }
        if (!platform::gfx::WriteBmpFile(folder / entry.file, picture)) {
            std::fprintf(stderr, "vlart: cannot write %s\n", (folder / entry.file).c_str());
            return 1;
        }
        drawn.emplace(entry.file, std::move(picture));
    }
    if (later > 0)
        std::printf("vlart: %d 3D families come with the 3D views\n", later);
    return 0;
}
