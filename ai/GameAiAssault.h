#pragma once
// The computer opponent's assaults: a unit of the side to move next to an
// enemy hex opens an assault on it where the ground favours it, every other
// eligible unit around the hex joins, and the assault stands only when its
// odds are good enough (or a Banzai charge forces it). Also the players'
// "Add to Assault", which may start an assault on a new hex.

#include "ai/GameAiData.h"
#include "model/String.h"

class CGameAiAssault : public CGameAiData {
public:
    static constexpr const char* kCannotAssaultText = "Defending hex cannot be assaulted";

    CGameAiAssault() = default;
    ~CGameAiAssault() override = default;

    // The choose operation of the assault state: the announcement with the
    // defending hex; empty when no assault can be set up any more. After an
    // assault is set up the next search starts again at (0, 0).
    String ChooseAssault(HexPos& defendingHex);
    // Resolves the assault set up; its report.
    String ExecuteAssault(HexPos& defendingHex);

    // An assault is set up from the cursor hex: its units from the top, the
    // carried ones passed over, each opening one and then weighing it.
    bool TryAssaultFromCursor();
    // The unit at the position of the cursor hex opens an assault on the
    // first neighbour, N to NW, that may be assaulted, where the ground
    // favours it (a Banzai unit needs no such ground) and which it may join.
    bool OpenAssault(const PlacedUnit& unit, int position);
    // Attacking from hex a into hex d gains no cover nor gives any up.
    bool FavoursAssault(HexPos a, HexPos d) const;
    // Every other unit around the defending hex that may assault joins; the
    // assault stands when forced or when the attack times the attackers'
    // defence is at least the defence times the counter-assault. Else it is
    // cleared.
    bool JoinAndWeigh();

    // "Add to Assault": the listed units of hex (x, y) join the assault on
    // the defending hex, which starts when it is another hex than the open
    // assault's. The refusal (when there was one) and the odds; an assault
    // left without attack is cleared.
    String AddUnitsToAssault(int x, int y, const int* positions, int count, int defendingX, int defendingY);

    // Nothing chosen.
    void ResetBattleState() override;

    // The announcement.
    String m_assaultReport;
    // The hex the last assault set up attacks.
    HexPos m_defendingHex { -1, -1 };

private:
    // The unit's label line, unless the side to move's information is
    // hidden.
    void AppendUnitLine(const PlacedUnit& unit);
};
