#pragma once
// The computer opponent's choice of air attacks: how many it makes in a
// phase of its side, where each one goes (near the target of an attacking
// formation, else near the side's first objective) and which unit of that
// hex it aims at. The strike itself is assigned and resolved by the rules.

#include "ai/GameAiAssault.h"
#include "model/String.h"

class CGameAiAir : public CGameAiAssault {
public:
    static constexpr const char* kAirAttackText = "Air attack";

    CGameAiAir() = default;
    ~CGameAiAir() override = default;

    // The smallest n with n (n + 1) / 2 at least the side to move's air
    // strikes left; 0 when it has none. Spread over the phases, the strikes
    // go fast while many are left.
    void SetAttacksForPhase();
    static int AttacksForStrikes(int strikes);

    // The next air attack of the phase: the undo record is cleared, then a
    // hex is chosen, the strike assigned to it and the attacks left lowered
    // by one; the announcement, with the hex. Empty (the hex (-1, -1)) when
    // no attack is left or none can be made; then none is left.
    String ChooseAirStrike(HexPos& hex);
    // The hex of the last chosen attack and the targetable unit aimed at
    // there (its 1-based ordinal).
    void GetChosenAirStrike(HexPos& hex, int& ordinal);
    // The ordinal, among the hex's targetable units from the top, of a unit
    // drawn among those not hidden and exposed (a unit that is no passenger
    // carrier, or one carrying a passenger); 1 when there is none.
    int PickTargetOrdinal(int x, int y);

    // The attacks left of the phase, on one line after the objective lists.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // No attacks are left, and none is chosen.
    void ResetBattleState() override;

    String m_airReportText;
    int m_attacksLeft = 0;
    HexPos m_airChosenHex { -1, -1 };

private:
    // The centre: the target of a drawn attacking formation of the side to
    // move, else its first objective; (-1, -1) when there is neither.
    HexPos ChooseAirStrikeCentre();
    // A drawn enemy hex within the objective radius of the centre that an air
    // strike may attack; (-1, -1) when there is none.
    HexPos ChooseAirStrikeTarget(HexPos centre);
    // Every unit of the stack is a passenger carrier carrying nothing: no
    // target worth a strike.
    bool HasOnlyEmptyCarriers(int x, int y) const;
};
