#pragma once
// A campaign battle's return: the main program saved the battle into the
// campaign's ".cpn" and started the launcher with "-k", two numbers A and B
// and that file's name. For a single campaign A is the battle's score and B
// a par value (not 0); for a linked campaign A is the outcome -2 (major
// defeat) .. 2 (major victory) and B is 0. Applying it turns the battle into
// campaign state: score, rank, decoration, the offer of a larger command,
// the history entry, the units' losses, experience and morale, and for a
// linked campaign the next battle of its chain.
//
// A result is never lost: when the campaign cannot be read nothing is
// applied or deleted, and the battle files go only once the campaign was
// saved, so a failed save leaves the battle to be returned again.

#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignRecord.h"

inline constexpr std::string_view kCampaignErrorCaption = "Campaign Error";
inline constexpr std::string_view kWriteErrorCaption = "Write Error";

// What the launcher's "-k" handling needs to choose its first screen.
struct CampaignBattleOutcome {
    bool completed = false; // a linked campaign reached the end of its chain
    bool commanderHit = false;
    bool promoted = false;
    bool decorated = false;
    std::string decorationName;
    // Earned with or without a promotion or decoration; the status screen
    // reads and clears it.
    bool largerCommandOffered = false;
    // A completed chain's end text, for the fate screen to wrap.
    std::string endText;
    // Set when nothing could be applied or saved: the text and its caption
    // ("Campaign Error" or "Write Error"); the battle files are kept.
    std::string failure;
    std::string failureCaption;

    bool Failed() const { return !failure.empty(); }
};

class CampaignBattleResult {
public:
    // Reads the campaign of the stem into context.g_campaign: a single one
    // (B not 0) takes A into its score; the ratio is A / B, or A + 2 for a
    // negative B. A campaign that cannot be read leaves Failed() set.
    CampaignBattleResult(CampaignContext& context, std::string_view stem, std::int32_t a, std::int32_t b);

    // Applies the result and saves the campaign; false, with the failure
    // set, when nothing was saved.
    bool Apply();

    bool Failed() const { return !m_failure.empty(); }

    bool m_linked = false;
    bool m_promoted = false;
    bool m_largerCommandOffered = false;
    bool m_commanderHit = false;
    bool m_completed = false;
    std::int32_t m_score = 0;
    std::int32_t m_decoration = 0; // 1..6, 0 for none
    float m_ratio = 0.0f;
    std::string m_decorationName;
    std::string m_campaignFile; // "<stem>.ccd" or "<stem>.ccl"
    std::string m_mapFile; // "<stem>.map"; empty for a linked campaign
    std::string m_battleFile; // "<stem>.cpn"
    std::string m_endText;
    std::string m_failure;
    std::string m_failureCaption;

private:
    friend bool ApplyLinkedBattleResult(CampaignBattleResult& result);

    void Fail(std::string text, std::string_view caption);
    void ApplySingle();
    void AwardDecoration();
    void CheckPromotion();
    void CheckLargerCommand();
    void StrengthenCommanderUnit();
    void AddHistoryEntry();
    void ApplyUnitResults();
    void SaveAndRemoveBattle();

    CampaignContext* m_context; // observer
    std::string m_stem;
};

// The linked campaign's part: the ".ccl" and its definition read, the chain
// moved on by the outcome, the history entry added, every roster unit's
// results written back, the ".ccl" rewritten (its backup first) and the
// ".cpn" deleted. False, with the failure set and nothing deleted, when a
// file cannot be read, the current battle is not in the definition or the
// save fails.
bool ApplyLinkedBattleResult(CampaignBattleResult& result);

// The results' names by ratio: 0 "Poor" up to 0.7, 1 "Satisfactory" up to
// 1.3, 2 "Good" up to 2.0, 3 "Outstanding" above.
int RatingForRatio(float ratio);

// The battle type of a single campaign's history: the fifth number of the
// battle file's seventh line; 1 when the file is missing, 0 when it is
// shorter or the line does not read.
std::int32_t ReadBattleType(const CampaignContext& context, std::string_view battleFile);

// The date key of a ready-made battle's date line ("Jun 6 1944": after the
// section end, the loss table's "0 -1", the final-number line and the note
// line); 0 when the file or the line does not read.
std::int32_t ReadScenarioDate(const CampaignContext& context, std::string_view battleFile);

// The player accepted a larger command: the formation's parent becomes the
// player's formation (its name and id) and the commander's unit moves to the
// head of the parent's subunits. The formation found by the id after that;
// null when the formation is not in the force. The caller raises the command
// level and saves.
UnitRecord* PromoteToParentFormation(CampaignRecord& campaign);

// The launcher's "-k" step: the file name (the battle file the main program
// named) cut at its last '.' must leave a usable campaign name, else nothing
// happens and "Campaign Error" is reported. Otherwise the result is built
// and applied.
CampaignBattleOutcome ApplyCampaignBattleResult(
    CampaignContext& context, std::string_view fileName, std::int32_t a, std::int32_t b);
