// The single campaign's file reader on any input: the input as a ".ccd" read
// whole and for the select screen, and as the backup an undo restores. What
// reads and writes must read back into the same text.
#include "launcher/campaign/CampaignFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir folder;
    static LauncherRandom random;
    CampaignContext context(folder.Path(), random);
    const std::string_view text = FuzzText(data, size);
    folder.Write("fuzz.ccd", text);

    CampaignRecord summary;
    ReadCampaignSummary(context, "fuzz.ccd", summary);
    CampaignRecord& record = context.g_campaign;
    if (ReadCampaign(context, record, "fuzz.ccd").empty()) {
        std::string refusal;
        std::string written = MakeCampaignText(record, context.g_unitCounter, refusal);
        if (refusal.empty()) {
            folder.Write("again.ccd", written);
            CampaignRecord again;
            if (!ReadCampaign(context, again, "again.ccd").empty()
                || MakeCampaignText(again, context.g_unitCounter, refusal) != written)
                __builtin_trap();
        }
    }

    // An undo from the input as the backup of a campaign file.
    record.m_linked = 0;
    record.m_name = "undo";
    folder.Write("undo.ccd", "kept\n");
    folder.Write("undo.ccx", text);
    record.RestoreBackup(context);
    return 0;
}
