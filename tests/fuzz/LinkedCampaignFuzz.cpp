// The linked campaign readers on any input: the input as a run's ".ccl" read
// whole and for the select screen (what reads and writes must read back into
// the same text), and as a chain's ".lcg" definition with its starting force.
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir folder;
    static LauncherRandom random;
    CampaignContext context(folder.Path(), random);
    const std::string_view text = FuzzText(data, size);
    folder.Write("fuzz.ccl", text);
    folder.Write("fuzz.lcg", text);

    CampaignRecord summary;
    ReadCampaignSummary(context, "fuzz.ccl", summary);
    CampaignRecord& record = context.g_campaign;
    if (ReadCampaign(context, record, "fuzz.ccl").empty()) {
        std::string refusal;
        std::string written = MakeLinkedCampaignText(record, refusal);
        if (refusal.empty()) {
            LinkedCampaignHeader header;
            std::string copy = written;
            if (!ReadLinkedCampaignHeader(context, header, copy, "again.ccl").empty()
                || WriteLinkedCampaign(header, refusal) != written)
                __builtin_trap();
        }
    }

    LinkedCampaignTree tree;
    if (tree.ReadText(text, "fuzz.lcg").empty()) {
        tree.FindNode(tree.FirstBattleId());
        for (const LinkedBattleNode& node : tree.m_nodes)
            node.NextBattleId(node.m_id);
    }
    ReadLinkedStartingForce(context, "fuzz.lcg", 1);
    return 0;
}
