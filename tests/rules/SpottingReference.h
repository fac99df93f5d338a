#pragma once
// The spotting passes as plainly as they can be written: every hex scanned
// for every hex, every line of sight tested. The shipped passes must leave
// the same contact cells, hidden bits, hex lists and generator state; the
// tests and the benchmark compare them with these.

#include <cstdint>
#include <vector>

#include "model/GameRecords.h"
#include "model/Geometry.h"
#include "model/Lists.h"
#include "rules/GameSpotting.h"

namespace spotting_reference {

inline bool HasArmedUnit(const CGameSpotting& game, int x, int y)
{
    for (const PlacedUnit& unit : game.m_stacks.At(x, y))
        if (CGameWeapons::GetNominalFirepower(unit.m_type) != 0)
            return true;
    return false;
}

inline bool HasSelfMovingUnit(const CGameSpotting& game, int x, int y)
{
    for (const PlacedUnit& unit : game.m_stacks.At(x, y))
        if (unit.m_type && !unit.m_type->NeedsPassengerToMove())
            return true;
    return false;
}

inline void UpdateContactsBetween(CGameSpotting& game, int hx, int hy, int s, int o)
{
    const bool armed = HasArmedUnit(game, hx, hy);
    const bool moving = HasSelfMovingUnit(game, hx, hy);
    game.m_contact[s].At(hx, hy).Set(1, 0);
    for (int ex = 0; ex < game.m_stacks.Width(); ++ex) {
        for (int ey = 0; ey < game.m_stacks.Height(); ++ey) {
            if (game.SideInHex(ex, ey) != o)
                continue;
            const bool enemyArmed = HasArmedUnit(game, ex, ey);
            const bool enemyMoving = HasSelfMovingUnit(game, ex, ey);
            if (game.CheckLineOfSight(ex, ey, hx, hy, 0)) {
                const int t = game.GetSpottingDistance(hx, hy, ex, ey);
                if (enemyArmed)
                    game.m_contact[o].At(hx, hy).Set(1, t);
                else if (game.m_contact[o].At(hx, hy).kind == 0 && enemyMoving)
                    game.m_contact[o].At(hx, hy).Set(2, t);
            }
            if (game.CheckLineOfSight(hx, hy, ex, ey, 0)) {
                const int t = game.GetSpottingDistance(hx, hy, ex, ey);
                if (armed)
                    game.m_contact[s].At(ex, ey).Set(1, t);
                else if (game.m_contact[s].At(ex, ey).kind == 0 && moving)
                    game.m_contact[s].At(ex, ey).Set(2, t);
            }
            game.m_blockingHex = HexPos { -1, -1 };
        }
    }
}

inline void UpdateFeatureHexContacts(CGameSpotting& game, int fx, int fy)
{
    for (int kx = 0; kx < game.m_stacks.Width(); ++kx) {
        for (int ky = 0; ky < game.m_stacks.Height(); ++ky) {
            const int side = game.SideInHex(kx, ky);
            if (side < 0 || game.m_contact[side].At(fx, fy).kind == 1)
                continue;
            if (game.CheckLineOfSight(kx, ky, fx, fy, 0))
                game.m_contact[side].At(fx, fy).Set(1, game.GetSpottingDistance(fx, fy, kx, ky));
            else
                game.m_blockingHex = HexPos { -1, -1 };
        }
    }
}

inline void RecomputeContacts(CGameSpotting& game)
{
    for (auto& grid : game.m_contact)
        for (int x = 0; x < grid.Width(); ++x)
            for (int y = 0; y < grid.Height(); ++y)
                grid.At(x, y) = ContactCell { 0, -1 };
    const int s = game.m_map.GetSide();
    const int o = OtherSide(s);
    const int featureFlags = 0x24b0 | 0x7 | 0x800 | 0x8;
    for (int x = 0; x < game.m_stacks.Width(); ++x) {
        for (int y = 0; y < game.m_stacks.Height(); ++y) {
            const int side = game.SideInHex(x, y);
            if (side == s)
                UpdateContactsBetween(game, x, y, s, o);
            else if (side == o)
                game.m_contact[o].At(x, y).Set(1, 0);
            else if (side == -1 && (game.m_hexFlags.At(x, y) & featureFlags) != 0)
                UpdateFeatureHexContacts(game, x, y);
        }
    }
}

inline int EnemyLevel(const CGameSpotting& game, int x, int y)
{
    const int enemy = OtherSide(game.SideInHex(x, y));
    return enemy < 0 ? 0 : game.m_contact[enemy].At(x, y).kind;
}

inline void UpdateUnitVisibility(CGameSpotting& game, HexList& hexes)
{
    for (int x = 0; x < game.m_stacks.Width(); ++x) {
        for (int y = 0; y < game.m_stacks.Height(); ++y) {
            const int level = EnemyLevel(game, x, y);
            if (level == 0) {
                if (game.HideHexUnits(x, y))
                    AppendHexListNodeOnce(hexes, x, y);
            } else if (level == 1) {
                if (game.RevealHexUnits(x, y))
                    AppendHexListNodeOnce(hexes, x, y);
            }
        }
    }
}

inline void UpdateSpotting(CGameSpotting& game, HexList& hexes)
{
    for (int side = 0; side < 2; ++side)
        for (int x = 0; x < game.m_stacks.Width(); ++x)
            for (int y = 0; y < game.m_stacks.Height(); ++y)
                game.m_contactSnapshot[side].At(x, y) = game.m_contact[side].At(x, y).kind;
    RecomputeContacts(game);
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            for (int side = 0; side < 2; ++side)
                if (game.m_contact[side].At(x, y).kind != game.m_contactSnapshot[side].At(x, y))
                    AppendHexListNodeOnce(hexes, x, y);
    UpdateUnitVisibility(game, hexes);
}

inline void ResetUnitVisibility(CGameSpotting& game)
{
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            for (PlacedUnit& unit : game.m_stacks.At(x, y))
                unit.m_status |= kUnitHidden;
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            if (EnemyLevel(game, x, y) != 0)
                game.RevealHexUnits(x, y);
}

// What the passes leave behind, to compare two games hex by hex.
struct SpottingState {
    std::vector<int> cells; // kind and value of both sides per hex
    std::vector<std::uint32_t> hidden; // status & hidden of every unit, scan and stack order
    std::vector<HexPos> listed;

    friend bool operator==(const SpottingState&, const SpottingState&) = default;
};

inline SpottingState StateOf(const CGameSpotting& game, const HexList& hexes)
{
    SpottingState state;
    for (int x = 0; x < game.m_stacks.Width(); ++x) {
        for (int y = 0; y < game.m_stacks.Height(); ++y) {
            for (int side = 0; side < 2; ++side) {
                state.cells.push_back(game.m_contact[side].At(x, y).kind);
                state.cells.push_back(game.m_contact[side].At(x, y).value);
            }
            for (const PlacedUnit& unit : game.m_stacks.At(x, y))
                state.hidden.push_back(unit.m_status & kUnitHidden);
        }
    }
    for (const HexPos& hex : hexes)
        state.listed.push_back(hex);
    return state;
}

} // namespace spotting_reference
