#pragma once
// The computer opponent's indirect fire: high explosive first, from the
// side's off-map artillery and then from its indirect-fire units on the map,
// then smoke by day or starshell at night, the same way. The driver plots
// or sends a chosen high-explosive or smoke mission itself; a starshell
// mission is fired here. The fire layer's report text, firer and target
// hexes and firer position are the working fields of this layer too.

#include "ai/GameAiFire.h"
#include "model/String.h"

class CGameAiIndirect : public CGameAiFire {
public:
    static constexpr const char* kFiringIndirectText = "firing indirect";
    static constexpr const char* kFiringSmokeText = "firing smoke";
    static constexpr const char* kFiringStarshellText = "firing starshell";
    static constexpr const char* kUnknownHexText = " at unknown hex";
    static constexpr const char* kStarshellFiredText = "Starshell fired";

    // Which search runs.
    enum MissionKind : int {
        kOffMapHighExplosive = 0,
        kOnMapHighExplosive = 1,
        kOffMapSmoke = 2, // smoke by day, starshell at night
        kOnMapSmoke = 3,
    };

    CGameAiIndirect() = default;
    ~CGameAiIndirect() override = default;

    // The next mission of the phase: the search of the current kind, and
    // when that finds nothing, of the kinds after it in the same call. The
    // announcement, or empty when the phase has nothing more to fire (the
    // kind is then back at the first). The outs: firer and target hex (for
    // an off-map smoke or starshell mission both the target hex), the
    // firer's stack position (on the map) or 1-based off-map record index
    // (off the map), and 1 for a smoke or starshell mission.
    String ChooseIndirectFire(
        HexPos& firerHex, HexPos& targetHex, int& firerPosition, int& recordIndex, int& smokeOrStarshell);
    // Fires the starshell mission chosen last: the text, the firer hex when
    // the side to move may see it (else the target hex), the hex the shell
    // was aimed at after its scatter, and the whole report, also returned.
    String ExecuteIndirectFire(String& text, HexPos& shownFirerHex, HexPos& targetHex, String& result);

    // High explosive only: at night never; by day when the ammunition draw
    // fails, or now and then to keep a smoke-capable firer for smoke.
    bool HoldsFire(const PlacedUnit& unit);
    // A high-explosive target for the firer at F in the window around C
    // (an off-map record fires from its own hex, which is both): soft target
    // hexes first. True with the target hex and the announcement set.
    bool ChooseFireTarget(const PlacedUnit& unit, HexPos firer, HexPos centre, bool offMap);
    // A smoke target by day, a starshell target at night (scattered at
    // once), around the firer at F.
    bool ChooseSmokeTarget(const PlacedUnit& unit, HexPos firer);
    // The smoke value of an enemy hex: the defence of its hard targets (halved
    // for disrupted ones); -1 when none of its units has a weapon.
    int GetSmokeValue(int x, int y) const;

    // The current off-map record (1-based, 0 for none), the kind back at
    // the first and the reserve count taken anew.
    void ResetIndirectSearch();

    bool LoadBattleAndReport(
        std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes) override;
    void BuildTurnStartReport(String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups,
        std::vector<int>& released) override;
    // Every read or reset of a battle starts the search again, so that no
    // record index of the battle before is used.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    void ResetBattleState() override;

    // Where the off-map walks resume: a 1-based index into the off-map
    // units, 0 when the list is exhausted.
    int m_offMapRecord = 0;
    int m_missionKind = kOffMapHighExplosive;
    // The side's smoke missions by day, starshells at night, taken at the
    // phase start; lowered when a firer is kept for smoke.
    int m_reserveCount = 0;

private:
    // The searches of the four kinds; true when a mission was chosen.
    bool SearchOffMap(bool smoke);
    bool SearchOnMap(bool smoke);
    // The off-map record at the 1-based index; null past the list.
    OffMapUnit* OffMapRecordAt(int index);
    // One pass of the high-explosive search, with or without the soft filter.
    bool ChooseFireTargetPass(const PlacedUnit& unit, HexPos firer, HexPos centre, bool offMap, bool softOnly);
    // The target of a moving enemy: led along its facing, then jittered.
    void LeadMovingTarget();
    // The firing-unit header, the action, the target's location (or the
    // unknown hex under plotted fire) and a line end.
    void SetMissionText(const PlacedUnit& unit, HexPos firer, const char* action);
};
