#pragma once
// What every step of the computer opponent reads: the distance of each hex
// from the enemy, and the time of the computer opponent's parameter file.
// Above this layer the opponent's view of a side follows that side's fog of
// war.

#include <cstdint>

#include "ai/GameAiOrders.h"

class CGameAiData : public CGameAiOrders {
public:
    static constexpr const char* kAiFileName = "main.ai";

    CGameAiData();
    ~CGameAiData() override = default;

    // A hidden side's stack shows only where the other side has contact, and
    // only when one of its units is neither carried nor hidden.
    bool HexHasUnits(int column, int row) const override;
    bool IsOpponentHidden() const override;

    // The lower layers' freshness tests, then "main.ai"'s. A "main.ai"
    // missing at the last reload is not watched.
    bool CheckFilesChanged() override;

    HexGrid<std::int8_t> m_enemyDistance;
    HeldFile m_aiFileTime;

protected:
    // The time of "main.ai" is taken only when the lower layers gave no error.
    const char* Reload() override;
};
