// A linked campaign's ready-made battle on any input: copied with a force's
// strengths and morale (a copy of the copy is the copy again) and its
// briefing read.
#include "launcher/campaign/setup/LinkedBattleSetup.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir folder;
    static LauncherRandom random;
    static const std::unique_ptr<UnitRecord> force = [] {
        auto root = std::make_unique<UnitRecord>();
        root->m_number = 100;
        root->m_strength = 5;
        for (const std::int32_t number : { 101, 102, 103 }) {
            auto unit = std::make_unique<UnitRecord>();
            unit->m_number = number;
            unit->m_strength = number - 101;
            unit->m_morale = 7;
            AttachChildUnit(std::move(unit), *root);
        }
        return root;
    }();
    CampaignContext context(folder.Path(), random);
    folder.Write("fuzz.cpn", FuzzText(data, size));
    if (CopyLinkedBattleFile(context, "fuzz.cpn", "copy.cpn", force.get()).empty()) {
        const std::string copy = ReadFileText(folder.Path("copy.cpn"));
        if (!CopyLinkedBattleFile(context, "copy.cpn", "again.cpn", force.get()).empty()
            || ReadFileText(folder.Path("again.cpn")) != copy)
            __builtin_trap();
    }
    ReadLinkedBriefing(context, "fuzz.cpn");
    return 0;
}
