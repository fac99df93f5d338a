#include "rules/GameSpotting.h"

#include <algorithm>
#include <array>

#include "model/Geometry.h"
#include "model/Random.h"

namespace {

// Concealment by effective terrain, indexed by terrain type.
constexpr std::array<int, kTerrainTypeCount> kTerrainConcealment = {
    0, // Open
    3, // Water
    -3, // Forest
    -2, // Marsh
    -3, // Building
    -3, // Village
    -3, // City
    1, // Beach
    -1, // Orchard
    -2, // Rough
    3, // Shallow Water
    0, // Impassible
    -3, // Industrial
    -1, // Field
    -3, // Suburb
    -3, // Swamp
    -1, // Vineyard
    -2, // Cactus
    0, // Hammada
    -1, // Scrub
    0, // Soft Sand
    -2, // Wadi
    0, // Rice Paddy
    -1, // Flooded Paddy
    0, // Palm Trees
    -4, // Lt. Jungle
    -4, // Jungle
    -1, // Kunai
};

// How much farther a hex seems behind a feature on its side toward the
// viewer.
int FeatureDistanceFactor(int layer)
{
    switch (layer) {
    case kLayerHedge:
    case kLayerDune:
    case kLayerEmbankment:
    case kLayerStoneWall:
    case kLayerReef:
        return 2;
    case kLayerBocage:
        return 4;
    default:
        return 1;
    }
}

// An empty hex with one of these is worth spotting: positions, caves,
// minefields and blocked hexes.
constexpr int kFeatureHexFlags = CGameData::kHexImprovedPosition | CGameData::kHexBunker | CGameData::kHexTrench
    | CGameData::kHexPillbox | CGameData::kHexCave | CGameData::kHexAnyMinefield | CGameData::kHexBlocked;
constexpr int kShownPositionFlags = CGameData::kHexImprovedPosition | CGameData::kHexTrench;
constexpr int kShownFortificationFlags = CGameData::kHexBunker | CGameData::kHexPillbox;

constexpr int kCaveNation = 21;
constexpr int kMaxSpottingValue = 8;

} // namespace

CGameSpotting::CGameSpotting()
{
    for (auto& grid : m_contactSnapshot)
        m_grids.Register(grid, 0);
}

int CGameSpotting::GetSpottingDistance(int ax, int ay, int bx, int by) const
{
    const int distance = HexDistance(ax, ay, bx, by);
    if (!m_map.IsOnMap(bx, by))
        return distance;
    HexSide first;
    HexSide second;
    SidesTowardHex(ax, ay, bx, by, first, second);
    const HexSide facingA = first.Opposite();
    const HexSide facingB = second.Opposite();
    const HexRecord& record = m_map.GetHex(bx, by);
    int factor = 1;
    for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
        const HexSideSet sides = record.layers[static_cast<std::size_t>(layer)];
        if (sides.Contains(facingA) || sides.Contains(facingB))
            factor = std::max(factor, FeatureDistanceFactor(layer));
    }
    return factor * distance;
}

int CGameSpotting::GetHexConcealment(int x, int y) const
{
    const int terrain = GetEffectiveTerrain(x, y);
    int concealment = terrain >= 0 && terrain < kTerrainTypeCount ? kTerrainConcealment[terrain] : 0;
    const int flags = m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0;
    if ((flags & kHexRubble) != 0)
        --concealment;
    const bool shown = (flags & (kShownPositionFlags | kShownFortificationFlags)) != 0 && IsHexContentShown(x, y);
    if (shown && (flags & kShownPositionFlags) != 0)
        --concealment;
    if (HasSmoke(x, y))
        concealment -= 2;
    if (shown && (flags & kShownFortificationFlags) != 0)
        concealment -= 3;
    return concealment;
}

bool CGameSpotting::IsUnitSpotted(const PlacedUnit& unit, int x, int y) const
{
    const PlatoonType* type = unit.m_type;
    // Visibility values come unchecked from the platoon files.
    std::int64_t v = 0;
    if (type) {
        v = type->VisibilityValue();
        v += type->IsVehicle() ? unit.m_strength : unit.m_strength / 2;
    }
    v += GetHexConcealment(x, y);
    if ((unit.m_status & kUnitDiggingIn) != 0)
        v += 6;
    const int flags = m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0;
    if (type && type->GetNation() == kCaveNation && (type->m_moveFlags & kMoveFoot) != 0 && (flags & kHexCave) != 0)
        v -= 4;
    const int enemy = OtherSide(type ? type->GetSide() : -1);
    const int distance = GetContactValue(x, y, enemy);
    if (distance != -1)
        v -= distance / 2;
    v = std::clamp<std::int64_t>(v, 0, kMaxSpottingValue);
    const int draw = static_cast<int>(UniformRandom() * 10.0);
    return draw <= v;
}

bool CGameSpotting::HideHexUnits(int x, int y)
{
    if (!m_stacks.Contains(x, y))
        return false;
    bool changed = false;
    for (PlacedUnit& unit : m_stacks.At(x, y)) {
        if ((unit.m_status & kUnitHidden) == 0) {
            unit.m_status |= kUnitHidden;
            changed = true;
        }
    }
    return changed;
}

bool CGameSpotting::RevealHexUnits(int x, int y)
{
    if (!m_stacks.Contains(x, y))
        return false;
    bool revealed = false;
    for (PlacedUnit& unit : m_stacks.At(x, y)) {
        if ((unit.m_status & kUnitHidden) != 0 && IsUnitSpotted(unit, x, y)) {
            unit.m_status &= ~kUnitHidden;
            revealed = true;
        }
    }
    return revealed;
}

bool CGameSpotting::SeesHex(int viewerX, int viewerY, int targetX, int targetY)
{
    const int distance = HexDistance(viewerX, viewerY, targetX, targetY);
    if (distance >= 2 && distance > m_visibility) {
        // What the test leaves behind for a line out of range.
        m_report = 0;
        m_blockingHex = HexPos { -1, -1 };
        return false;
    }
    return HasLineOfSight(viewerX, viewerY, targetX, targetY);
}

CGameSpotting::OccupiedHex CGameSpotting::DescribeHex(int x, int y, int side) const
{
    OccupiedHex hex;
    hex.x = x;
    hex.y = y;
    hex.side = side;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (GetNominalFirepower(unit.m_type) != 0)
            hex.armed = true;
        if (unit.m_type && !unit.m_type->NeedsPassengerToMove())
            hex.selfMoving = true;
    }
    return hex;
}

void CGameSpotting::IndexHexes(int mover)
{
    m_occupied.clear();
    m_enemies.clear();
    m_scan.clear();
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const int side = SideInHex(x, y);
            if (side == 0 || side == 1) {
                const int index = static_cast<int>(m_occupied.size());
                m_occupied.push_back(DescribeHex(x, y, side));
                if (side == mover) {
                    m_scan.push_back(ScanEntry { x, y, ScanEntry::kMover, index });
                } else {
                    m_enemies.push_back(index);
                    m_scan.push_back(ScanEntry { x, y, ScanEntry::kOther, index });
                }
            } else if ((m_hexFlags.At(x, y) & kFeatureHexFlags) != 0) {
                m_scan.push_back(ScanEntry { x, y, ScanEntry::kFeature, -1 });
            }
        }
    }
}

void CGameSpotting::RecomputeContacts()
{
    for (auto& grid : m_contact)
        grid.Fill(ContactCell {});
    const int mover = m_map.GetSide();
    const int other = OtherSide(mover);
    if (other < 0)
        return;
    IndexHexes(mover);
    for (const ScanEntry& entry : m_scan) {
        switch (entry.kind) {
        case ScanEntry::kMover:
            UpdateContactsBetween(m_occupied[static_cast<std::size_t>(entry.occupied)], mover, other);
            break;
        case ScanEntry::kOther:
            m_contact[other].At(entry.x, entry.y).Set(kContactArmed, 0);
            break;
        case ScanEntry::kFeature:
            UpdateFeatureHexContacts(entry.x, entry.y);
            break;
        }
    }
    // Tests left out leave the line-of-sight layer as the last test would.
    const bool anyOwn = std::any_of(
        m_scan.begin(), m_scan.end(), [](const ScanEntry& entry) { return entry.kind == ScanEntry::kMover; });
    const bool anyFeature = std::any_of(
        m_scan.begin(), m_scan.end(), [](const ScanEntry& entry) { return entry.kind == ScanEntry::kFeature; });
    if ((anyOwn && !m_enemies.empty()) || (anyFeature && !m_occupied.empty())) {
        m_report = 0;
        m_blockingHex = HexPos { -1, -1 };
    }
}

void CGameSpotting::UpdateContactsBetween(const OccupiedHex& own, int mover, int other)
{
    ContactCell& enemyView = m_contact[other].At(own.x, own.y);
    m_contact[mover].At(own.x, own.y).Set(kContactArmed, 0);
    for (const int index : m_enemies) {
        const OccupiedHex& enemy = m_occupied[static_cast<std::size_t>(index)];
        // Both directions use the distance with the enemy hex's features.
        int distance = -1;
        const auto spottingDistance = [&] {
            if (distance < 0)
                distance = GetSpottingDistance(own.x, own.y, enemy.x, enemy.y);
            return distance;
        };
        // A test is left out only where its answer could change nothing: no
        // contact to make, or an armed contact already as near.
        if (enemy.armed) {
            const int t = spottingDistance();
            const bool nearer = enemyView.kind != kContactArmed || enemyView.value == -1 || t < enemyView.value;
            if (nearer && SeesHex(enemy.x, enemy.y, own.x, own.y))
                enemyView.Set(kContactArmed, t);
        } else if (enemyView.kind == kContactNone && enemy.selfMoving) {
            if (SeesHex(enemy.x, enemy.y, own.x, own.y))
                enemyView.Set(kContactUnarmed, spottingDistance());
        }
        ContactCell& ownView = m_contact[mover].At(enemy.x, enemy.y);
        if (own.armed) {
            const int t = spottingDistance();
            const bool nearer = ownView.kind != kContactArmed || ownView.value == -1 || t < ownView.value;
            if (nearer && SeesHex(own.x, own.y, enemy.x, enemy.y))
                ownView.Set(kContactArmed, t);
        } else if (ownView.kind == kContactNone && own.selfMoving) {
            if (SeesHex(own.x, own.y, enemy.x, enemy.y))
                ownView.Set(kContactUnarmed, spottingDistance());
        }
    }
}

void CGameSpotting::UpdateFeatureHexContacts(int x, int y)
{
    for (const OccupiedHex& viewer : m_occupied) {
        ContactCell& view = m_contact[viewer.side].At(x, y);
        if (view.kind != kContactArmed && SeesHex(viewer.x, viewer.y, x, y))
            view.Set(kContactArmed, GetSpottingDistance(x, y, viewer.x, viewer.y));
    }
}

bool CGameSpotting::CanSideSeeHex(int x, int y, int side, int mark)
{
    if (side != 0 && side != 1)
        return false;
    int best = m_map.GetWidth() + m_map.GetHeight();
    bool seen = false;
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int kx = 0; kx < width; ++kx) {
        for (int ky = 0; ky < height; ++ky) {
            if (SideInHex(kx, ky) != side || !DescribeHex(kx, ky, side).armed)
                continue;
            const int distance = GetSpottingDistance(x, y, kx, ky);
            if (SeesHex(kx, ky, x, y)) {
                seen = true;
                best = std::min(best, distance);
            }
        }
    }
    if (mark != 0 && seen)
        SetContact(x, y, side, kContactArmed, best);
    return seen;
}

int CGameSpotting::IsHexSpottedByEnemy(int x, int y)
{
    const int occupant = SideInHex(x, y);
    const int side = OtherSide(occupant >= 0 ? occupant : m_map.GetSide());
    const int level = GetContactLevel(x, y, side);
    if (level != kContactNone)
        return level;
    CanSideSeeHex(x, y, side, 1);
    return GetContactLevel(x, y, side);
}

void CGameSpotting::MarkListed(const HexList& hexes)
{
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    m_listed.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (const HexPos& hex : hexes)
        if (m_stacks.Contains(hex.column, hex.row))
            m_listed[static_cast<std::size_t>(hex.column) * static_cast<std::size_t>(height)
                + static_cast<std::size_t>(hex.row)]
                = 1;
}

void CGameSpotting::AppendOnce(HexList& hexes, int x, int y)
{
    std::uint8_t& listed = m_listed[static_cast<std::size_t>(x) * static_cast<std::size_t>(m_stacks.Height())
        + static_cast<std::size_t>(y)];
    if (listed == 0) {
        listed = 1;
        AppendHexListNode(hexes, x, y);
    }
}

void CGameSpotting::UpdateUnitVisibility(HexList& hexes)
{
    MarkListed(hexes);
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (m_stacks.At(x, y).IsEmpty())
                continue;
            const int level = GetEnemyContact(x, y);
            if (level == kContactNone && HideHexUnits(x, y))
                AppendOnce(hexes, x, y);
            else if (level == kContactArmed && RevealHexUnits(x, y))
                AppendOnce(hexes, x, y);
        }
    }
}

void CGameSpotting::ResetUnitVisibility()
{
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            for (PlacedUnit& unit : m_stacks.At(x, y))
                unit.m_status |= kUnitHidden;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (GetEnemyContact(x, y) != kContactNone)
                RevealHexUnits(x, y);
}

void CGameSpotting::UpdateSpotting(HexList& hexes)
{
    const int width = m_stacks.Width();
    const int height = m_stacks.Height();
    for (int side = 0; side < 2; ++side)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                m_contactSnapshot[side].At(x, y) = m_contact[side].At(x, y).kind;
    RecomputeContacts();
    MarkListed(hexes);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (m_contact[0].At(x, y).kind != m_contactSnapshot[0].At(x, y)
                || m_contact[1].At(x, y).kind != m_contactSnapshot[1].At(x, y))
                AppendOnce(hexes, x, y);
    UpdateUnitVisibility(hexes);
}
