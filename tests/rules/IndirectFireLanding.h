#pragma once
// The plotted fire that lands at a phase change, walked as the frame's turn
// layer walks it once the side now to move is set: a mission whose firing
// unit is gone is deleted; a mission of the side to move drifts when that
// side has no contact level 1 on the target and cannot see it, is fired as
// smoke or fire and is deleted; the other side's missions stay.

#include <string>
#include <vector>

#include "model/GameRecords.h"
#include "model/PlacedUnit.h"
#include "model/String.h"

// What one landed mission showed: its report and, for fire, the detail.
struct LandedMission {
    std::string report;
    std::string detail;
};

template <class Game> std::vector<LandedMission> LandPlottedFire(Game& game)
{
    std::vector<LandedMission> landed;
    const int side = game.m_map.GetSide();
    auto* node = game.m_pendingFire.Head();
    while (node) {
        PlacedUnit* unit = game.IsPlottedFireValid(node->value);
        if (!unit) {
            node = game.m_pendingFire.Remove(node);
            continue;
        }
        if (!unit->m_type || unit->m_type->GetSide() != side) {
            node = node->next;
            continue;
        }
        const PendingFire record = node->value;
        HexPos target { record.targetColumn, record.targetRow };
        if (game.GetContactLevel(target.column, target.row, side) != 1
            && !game.CanSideSeeHex(target.column, target.row, side, 0))
            game.DriftImpactHex(record.fromColumn, record.fromRow, target);
        String report;
        String detail;
        if (record.smoke)
            game.FireSmoke(report, *unit, target.column, target.row);
        else
            game.ResolvePlottedFire(
                report, *unit, record.fromColumn, record.fromRow, target.column, target.row, detail);
        landed.push_back(LandedMission { report.c_str(), detail.c_str() });
        node = game.m_pendingFire.Remove(node);
    }
    return landed;
}
