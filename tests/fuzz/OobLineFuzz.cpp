// The order-of-battle reader on any input: every line through the grammar in
// each mode, then the input as a nation's battalion and company files loaded
// and listed as formations.
#include <string>

#include "launcher/campaign/OrderOfBattle.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir folder;
    static LauncherRandom random;
    const std::string_view text = FuzzText(data, size);
    CampaignContext context(folder.Path(), random);
    context.cacheFiles = false;
    random.SeedWith(static_cast<std::uint32_t>(size));
    const LevelNumberBase base;

    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = PrepareOobLine(text.substr(start, end - start));
        for (const OobLineMode mode : { OobLineMode::kSubunit, OobLineMode::kRoot, OobLineMode::kListing }) {
            OobLineOptions options;
            options.mode = mode;
            options.variedId = "C1002001";
            ParseOobLine(context, base, line, options);
        }
        start = end + 1;
    }

    folder.Write("Battalion10.OOB", text);
    folder.Write("Company10.OOB", text);
    folder.Write("Campaign10.OOB", text);
    LoadFormationFromOob(context, base, 430201, 10, "B1012001");
    UnitRecord company;
    company.m_id = "C1002001";
    LoadFormationChildren(context, base, company, 430201);
    ListCampaignFormations(context, base, 10, 5, 430201, 2);
    return 0;
}
