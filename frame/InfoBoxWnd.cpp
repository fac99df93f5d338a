#include "frame/InfoBoxWnd.h"

#include <algorithm>
#include <cmath>

#include "frame/Theme.h"
#include "mapview/MapView.h"
#include "mapview/graphics/FontObjects.h"
#include "model/Geometry.h"
#include "model/GameRecords.h"

using namespace platform;
using gfx::Canvas;
using gfx::Pixel;

namespace {

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kYellow = 0xFFFF00;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kSideColour[2] = { 0xDEA518, 0xC0C0C0 };
constexpr Pixel kBarColour[3] = { 0x30A030, 0x3060C0, 0xC03030 };
constexpr int kIconCell = 32;
constexpr int kLeaderCell = 52;
constexpr int kSheetColumns = 12;
constexpr int kNameLimit = 20;

// Unit status bits the panel shows.
constexpr std::uint32_t kFired = 0x1;
constexpr std::uint32_t kStatus8 = 0x8;
constexpr std::uint32_t kCarried = 0x10;
constexpr std::uint32_t kLoaded = 0x40;
constexpr std::uint32_t kDiggingIn = 0x200;
constexpr std::uint32_t kStatus400 = 0x400;
constexpr std::uint32_t kStatus800 = 0x800;
constexpr std::uint32_t kSavingFire = 0x1000;
constexpr std::uint32_t kSavingUnload = 0x2000;
constexpr std::uint32_t kStatus4000 = 0x4000;
constexpr std::uint32_t kStatus8100 = 0x8100;

// The number points of the three bar modes, relative to the panel.
constexpr Point kBarPoints[3] = { { 134, 61 }, { 93, 37 }, { 52, 61 } };

std::string Number(int value) { return std::to_string(value); }

} // namespace

CInfoBoxWnd::CInfoBoxWnd(CGame* game, CMapView* view)
    : m_game(game)
    , m_view(view)
{
    m_nameFont = CreateFontObject("Times New Roman", 14, 700);
    m_numberFont = CreateFontObject("Times New Roman", 14, 400);
    m_hexFont = CreateFontObject("Times New Roman", 20, 700);
}

CInfoBoxWnd::~CInfoBoxWnd() = default;

int CInfoBoxWnd::OnCreate()
{
    if (CDirectDrawWnd::OnCreate() == -1)
        return -1;
    AssetFiles& assets = Host()->GetServices().assets;
    m_panelSheet = std::make_unique<BitmapSurface>(assets, "infobox.bmp");
    if (m_panelSheet->IsLoaded()) {
        m_panelSheet->SetColorKeyFromCorner();
        m_panelWidth = m_panelSheet->Width() / 4;
        m_panelHeight = m_panelSheet->Height() / 2;
    }
    // The backdrop and the leader sheets are optional: only the demo's nations have them.
    const auto optional = [&](const std::string& name) {
        return assets.Resolve(name) ? std::make_unique<BitmapSurface>(assets, name) : nullptr;
    };
    m_backdrop = optional("blankbox0.bmp");
    for (int nation = 0; nation < kNations; ++nation) {
        m_leaderSheets[nation] = optional("leader" + Number(nation) + ".bmp");
        m_campaignLeaderSheets[nation] = optional("campleader" + Number(nation) + ".bmp");
    }
    FillList();
    return 0;
}

void CInfoBoxWnd::OnSize(Size client)
{
    CDirectDrawWnd::OnSize(client);
    if (client.width > 0 && client.height > 0)
        Refresh();
}

// ---- the unit list ----

const UnitList* CInfoBoxWnd::Stack() const
{
    if (!m_game || !m_game->m_map.IsOnMap(m_column, m_row))
        return nullptr;
    return &m_game->m_stacks.At(m_column, m_row);
}

const UnitNode* CInfoBoxWnd::NodeAt(int index) const
{
    const UnitList* stack = Stack();
    if (!stack || index < 0)
        return nullptr;
    const UnitNode* node = stack->Head();
    for (int i = 0; node && i < index; ++i)
        node = node->next;
    return node;
}

void CInfoBoxWnd::FillList()
{
    m_entries.clear();
    const UnitList* stack = Stack();
    if (!stack || !m_game->HexHasUnits(m_column, m_row))
        return;
    for (const UnitNode* node = stack->Head(); node; node = node->next)
        m_entries.push_back({ node->value.GetName().str(), false });
}

void CInfoBoxWnd::NotifySelection()
{
    if (m_onSelection)
        m_onSelection->Invoke();
}

void CInfoBoxWnd::SetHex(int column, int row, const std::vector<int>& selected)
{
    m_column = column;
    m_row = row;
    m_scroll = 0;
    FillList();
    for (int index : selected)
        if (index >= 0 && index < static_cast<int>(m_entries.size()))
            m_entries[static_cast<std::size_t>(index)].selected = true;
    Refresh();
    NotifySelection();
}

void CInfoBoxWnd::SetHexAndSelectUnit(int column, int row, int index, bool select)
{
    m_column = column;
    m_row = row;
    m_scroll = 0;
    FillList();
    SelectUnit(index, select);
}

void CInfoBoxWnd::SelectUnit(int index, bool select)
{
    const int count = static_cast<int>(m_entries.size());
    if (index >= 0 && index < count) {
        m_entries[static_cast<std::size_t>(index)].selected = select;
        if (const UnitNode* node = NodeAt(index)) {
            // A linked entry outside the list is skipped.
            if (HasStatus(node->value, kLoaded) && index + 1 < count)
                m_entries[static_cast<std::size_t>(index + 1)].selected = select;
            else if (HasStatus(node->value, kCarried) && index - 1 >= 0)
                m_entries[static_cast<std::size_t>(index - 1)].selected = select;
        }
    }
    Refresh();
    NotifySelection();
}

void CInfoBoxWnd::SelectAll()
{
    for (Entry& entry : m_entries)
        entry.selected = true;
    Refresh();
    NotifySelection();
}

void CInfoBoxWnd::SaveSelection()
{
    m_savedSelection.clear();
    int index = 0;
    const UnitList* stack = Stack();
    for (const UnitNode* node = stack ? stack->Head() : nullptr; node; node = node->next, ++index)
        if (index < static_cast<int>(m_entries.size()) && m_entries[static_cast<std::size_t>(index)].selected)
            m_savedSelection.push_back(node);
}

void CInfoBoxWnd::RestoreSelection()
{
    for (Entry& entry : m_entries)
        entry.selected = false;
    int index = 0;
    const UnitList* stack = Stack();
    for (const UnitNode* node = stack ? stack->Head() : nullptr; node; node = node->next, ++index) {
        const bool saved = std::find(m_savedSelection.begin(), m_savedSelection.end(), node) != m_savedSelection.end();
        if (saved && index < static_cast<int>(m_entries.size()))
            m_entries[static_cast<std::size_t>(index)].selected = true;
    }
    Refresh();
    NotifySelection();
}

std::vector<int> CInfoBoxWnd::GetSelectedIndices() const
{
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(m_entries.size()) && static_cast<int>(out.size()) < kMaxSelectionRead; ++i)
        if (m_entries[static_cast<std::size_t>(i)].selected)
            out.push_back(i);
    return out;
}

int CInfoBoxWnd::GetRequiredWidth() const
{
    // The frame lays the box out without a border of its own.
    return m_panelWidth + 4;
}

// ---- the listing rule ----

bool CInfoBoxWnd::IsUnitListed(const UnitNode* node) const
{
    if (!node)
        return false;
    const PlacedUnit& unit = node->value;
    bool v = true;
    const UnitList* stack = Stack();
    const bool hasPrevious = stack && node != stack->Head();
    if (HasStatus(unit, kCarried) && hasPrevious)
        v = !(node->prev->value.m_type && node->prev->value.m_type->IsCarrier());
    else if (HasStatus(unit, kLoaded))
        v = unit.m_type && unit.m_type->IsCarrier();
    if (m_game->IsTargetHidden(unit, m_column, m_row))
        return false;
    if (!m_rightHeld)
        return !HasStatus(unit, kCarried);
    const int side = m_game->SideInHex(m_column, m_row);
    if (side >= 0 && m_game->IsSideHidden(side))
        return v;
    return !HasStatus(unit, kLoaded);
}

int CInfoBoxWnd::PanelAt(int y, int* panelTop) const
{
    const UnitList* stack = Stack();
    if (!stack || !m_game->HexHasUnits(m_column, m_row))
        return -1;
    int top = -m_scroll;
    int index = 0;
    for (const UnitNode* node = stack->Head(); node; node = node->next, ++index) {
        if (!IsUnitListed(node))
            continue;
        if (top + m_panelHeight > y) {
            if (panelTop)
                *panelTop = top;
            return y >= top ? index : -1;
        }
        top += m_panelHeight;
    }
    return -1;
}

// ---- the mouse ----

void CInfoBoxWnd::OnMouse(const MouseEvent& event)
{
    switch (event.kind) {
    case MouseKind::LeftDown: {
        int top = 0;
        const int index = PanelAt(event.point.y, &top);
        if (index >= 0) {
            const int px = event.point.x;
            const int py = event.point.y - top;
            for (int mode = 0; mode < 3; ++mode) {
                if (std::abs(px - kBarPoints[mode].x) < 10 && std::abs(py - (kBarPoints[mode].y - 6)) < 14) {
                    m_barMode = mode;
                    if (m_onBarMode)
                        m_onBarMode->Invoke();
                    Refresh();
                    return;
                }
            }
            const bool onName = std::abs(px - m_panelWidth / 2) < 65 && std::abs(py - 8) < 7;
            if (!onName)
                SelectUnit(index, !m_entries[static_cast<std::size_t>(index)].selected);
        }
        m_dragAnchor = event.point;
        break;
    }
    case MouseKind::Move:
        if (m_dragAnchor.x != -1 && (event.buttons & kMouseLeft) && !(event.point == m_dragAnchor)) {
            // Upward without limit; downward back to the top.
            m_scroll = std::max(0, m_scroll + m_dragAnchor.y - event.point.y);
            m_dragAnchor = event.point;
            Refresh();
        }
        break;
    case MouseKind::LeftUp:
        m_dragAnchor = { -1, -1 };
        break;
    case MouseKind::RightDown:
        m_rightHeld = true;
        Refresh();
        break;
    case MouseKind::RightUp:
        m_rightHeld = false;
        Refresh();
        break;
    default:
        break;
    }
}

// ---- painting ----

void CInfoBoxWnd::Refresh()
{
    if (!Host())
        return;
    const Size client = ClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    Paint(BackBuffer());
    PresentClient();
}

void CInfoBoxWnd::Paint(gfx::Surface& target)
{
    Canvas canvas(target);
    const Size client = ClientSize();
    canvas.FillRect(Rect::FromSize(client), theme::kButtonFace);
    if (m_backdrop && m_backdrop->Height() > 0) {
        for (int y = -m_scroll; y < client.height; y += m_backdrop->Height())
            canvas.DrawSurface(
                { 0, y }, m_backdrop->Surface(), Rect::FromSize({ m_backdrop->Width(), m_backdrop->Height() }), false);
    }
    int y = -m_scroll;
    const UnitList* stack = Stack();
    if (stack && m_game->HexHasUnits(m_column, m_row)) {
        int index = 0;
        for (const UnitNode* node = stack->Head(); node; node = node->next, ++index) {
            if (!IsUnitListed(node))
                continue;
            const bool selected
                = index < static_cast<int>(m_entries.size()) && m_entries[static_cast<std::size_t>(index)].selected;
            DrawUnitPanel(target, node, m_column, m_row, selected, 0, y);
        }
    }
    DrawHexDescription(canvas, 0, y);
}

bool CInfoBoxWnd::IsHidden(int side) const { return m_game->IsSideInfoHidden(side); }

bool CInfoBoxWnd::IsFogged(int side) const { return m_game->IsSideHidden(side); }

void CInfoBoxWnd::DrawSheetCell(Canvas& canvas, const BitmapSurface* sheet, int cell, int cellSize, Point topLeft)
{
    if (!sheet || !sheet->IsLoaded() || cell < 0)
        return;
    const Point from { (cell % kSheetColumns) * cellSize, (cell / kSheetColumns) * cellSize };
    // Cells outside the picture draw nothing.
    if (from.x + cellSize > sheet->Width() || from.y + cellSize > sheet->Height())
        return;
    canvas.DrawSurface(topLeft, sheet->Surface(), Rect::FromPointSize(from, { cellSize, cellSize }), sheet->IsKeyed());
}

void CInfoBoxWnd::DrawMark(Canvas& canvas, int side, int cell, Point centre)
{
    canvas.FillRect({ centre.x - 7, centre.y - 8, centre.x + 9, centre.y + 8 }, kSideColour[side == 0 ? 0 : 1]);
    const BitmapSurface* sheet = m_view ? m_view->GetNationIconSheet(0) : nullptr;
    DrawSheetCell(canvas, sheet, cell, kIconCell, { centre.x - 16, centre.y - 16 });
}

CInfoBoxWnd::PanelTexts CInfoBoxWnd::DescribeUnit(const PlacedUnit& unit, int column, int row) const
{
    PanelTexts t;
    const PlatoonType* type = unit.m_type;
    const int side = type ? type->GetSide() : 0;
    const bool hidden = IsHidden(side);
    const bool threePhase = m_game->IsOptionSet(0x80);
    const std::string name = unit.GetName().str();
    t.name = hidden ? "Unknown" : name.size() > kNameLimit ? unit.GetShortName().str() : name;
    t.strength = m_game->IsUnitConcealed(unit, column, row) ? "?" : Number(unit.m_strength);
    if (hidden) {
        // Whole strings moved in: the optimiser misreads short literal copies.
        t.action = std::string(2, '?');
        t.fire = std::string(2, '?');
        t.morale = std::string(1, '?');
        t.defense = std::string(1, '?');
        t.assault = std::string(1, '?');
    } else {
        if (threePhase) {
            const int tenths = m_game->GetMoveRangeTenths(unit);
            t.action
                = tenths % 10 == 0 ? Number(tenths / 10) : Number(tenths / 10) + "." + Number(std::abs(tenths % 10));
            t.fire = type ? Number(CGameWeapons::GetMaximumRange(type)) : "0";
        } else {
            t.action = Number(unit.m_actionPoints);
            t.fire = type ? Number(type->m_fireApCost) : "0";
        }
        t.morale = Number(m_game->GetStackMorale(unit, column, row));
        t.defense = type ? Number(type->m_value13) : "0";
        t.assault = type ? Number(type->m_value12) : "0";
    }
    t.bar = std::string(m_barMode == kBarStrength ? "Strength"
            : m_barMode == kBarMorale             ? "Morale"
            : threePhase                          ? "Move"
                                                  : "Action");
    return t;
}

std::vector<int> CInfoBoxWnd::StatusMarks(const PlacedUnit& unit, int column, int row) const
{
    std::vector<int> marks;
    const int side = unit.m_type ? unit.m_type->GetSide() : 0;
    const bool hidden = IsHidden(side);
    const bool fogged = IsFogged(side);
    const bool threePhase = m_game->IsOptionSet(0x80);
    const bool toMove = side == m_game->m_map.GetSide();
    const auto has = [&](std::uint32_t bits) { return (unit.m_status & bits) != 0; };
    if (has(kStatus4000) && !fogged)
        marks.push_back(213);
    if (has(kStatus8))
        marks.push_back(188);
    if (m_game->m_map.IsOnMap(column, row)) {
        const int contact = m_game->GetEnemyContact(column, row);
        if (contact != 0 && !IsFogged(OtherSide(side)))
            marks.push_back(contact == 1 ? 191 : 185);
    }
    if (has(kDiggingIn) && !hidden)
        marks.push_back(197);
    if (!threePhase ? (has(kSavingFire) && !fogged) : (m_game->CheckUnitCanFire(unit) && !fogged && toMove))
        marks.push_back(180);
    if (!threePhase ? (has(kSavingUnload) && !fogged)
                    : (m_game->CheckPhaseAllowsMove(unit) && !has(kStatus400) && toMove && !fogged))
        marks.push_back(181);
    if (has(kStatus400) && !hidden)
        marks.push_back(187);
    if (has(kFired) && !hidden)
        marks.push_back(186);
    if (has(kStatus8100) && !hidden)
        marks.push_back(212);
    if (has(kStatus800) && !hidden)
        marks.push_back(214);
    return marks;
}

std::vector<int> CInfoBoxWnd::CapabilityMarks(const PlacedUnit& unit) const
{
    std::vector<int> marks;
    const PlatoonType* type = unit.m_type;
    if (!type)
        return marks;
    const int side = type->GetSide();
    if (type->m_moveFlags & 0x40)
        marks.push_back(211);
    else if (type->m_moveFlags & 0x20)
        marks.push_back(210);
    if (type->m_extraFlags & 0x2)
        marks.push_back(192);
    if (type->m_targetFlags & 0x8)
        marks.push_back(215);
    if ((type->m_targetFlags & 0x10) || (type->m_extraFlags & 0x2))
        marks.push_back(182);
    if (type->m_targetFlags & 0x6)
        marks.push_back(195);
    if (type->m_moveFlags & 0x80)
        marks.push_back(194);
    if (type->IsFootMovement() && !HasStatus(unit, kStatus800))
        marks.push_back(193);
    if ((type->m_extraFlags & 0x1) && m_game->IsOptionSet(0x40) && !(HasStatus(unit, kDiggingIn) && !IsFogged(side)))
        marks.push_back(197);
    if (type->m_carryFlags & 0x18)
        marks.push_back(202);
    if (type->m_carryFlags & 0x68)
        marks.push_back(196);
    if (type->m_extraFlags & 0x20)
        marks.push_back(39);
    if (unit.m_node && unit.m_node->IsFirstNonLeaderOfCompany() && !IsFogged(side) && m_game->IsOptionSet(0x100))
        marks.push_back(38);
    return marks;
}

void CInfoBoxWnd::DrawUnitPanel(
    gfx::Surface& target, const UnitNode* node, int column, int row, bool selected, int x, int& y)
{
    if (!node)
        return;
    Canvas canvas(target);
    const PlacedUnit& unit = node->value;
    const PlatoonType* type = unit.m_type;
    const int side = type ? (type->GetSide() == 0 ? 0 : 1) : 0;
    const int nation = type ? type->GetNation() : -1;
    const bool leader = type && type->IsLeader();
    const int W = m_panelWidth;
    const int H = m_panelHeight;
    const bool hidden = IsHidden(side);

    // 1. The panel cell.
    const int cellColumn = (leader ? 2 : 0) + (selected ? 1 : 0);
    if (m_panelSheet && m_panelSheet->IsLoaded()) {
        canvas.DrawSurface({ x, y }, m_panelSheet->Surface(),
            Rect::FromPointSize({ cellColumn * W, side * H }, { W, H }), m_panelSheet->IsKeyed());
    } else {
        canvas.FillRect(Rect::FromPointSize({ x, y }, { W, H }), selected ? theme::kHighlight : kSideColour[side]);
        canvas.FillRect(Rect::FromPointSize({ x + 2, y + 2 }, { W - 4, H - 4 }), theme::kButtonShadow);
    }
    // 2. The picture: a campaign leader, a leader, or the unit's own picture.
    const Point centre { x + W / 2, y + H / 2 };
    const bool validNation = nation >= 0 && nation < kNations;
    const int nodeId = unit.m_node ? unit.m_node->m_id : 0;
    if (validNation && unit.m_node && nodeId == m_campaignForceId) {
        DrawSheetCell(canvas, m_campaignLeaderSheets[static_cast<std::size_t>(nation)].get(), nodeId % 24, kLeaderCell,
            { centre.x - 26, centre.y - 26 });
    } else if (validNation && leader) {
        DrawSheetCell(canvas, m_leaderSheets[static_cast<std::size_t>(nation)].get(), unit.m_node ? nodeId % 84 : 0,
            kLeaderCell, { centre.x - 26, centre.y - 26 });
    }
    // 3. The texts.
    const PanelTexts t = DescribeUnit(unit, column, row);
    canvas.SetTransparentText(true);
    canvas.SetTextAlign(gfx::HAlign::Centre, gfx::VAlign::Baseline);
    canvas.SetFont(m_nameFont.get());
    canvas.SetTextColour(kBlack);
    canvas.TextOut({ x + 93, y + 11 }, t.name);
    canvas.SetTextColour(kWhite);
    canvas.TextOut({ x + 94, y + 12 }, t.name);
    canvas.SetFont(m_numberFont.get());
    const auto number = [&](Point at, const std::string& text, Pixel colour) {
        canvas.SetTextColour(colour);
        canvas.TextOut({ x + at.x, y + at.y }, text);
    };
    number({ 93, 37 }, t.strength, type && unit.m_strength < type->m_fullStrength ? kYellow : kWhite);
    number({ 134, 61 }, t.action, kWhite);
    number({ 52, 109 }, t.fire, kWhite);
    Pixel moraleColour = kWhite;
    if (!hidden) {
        const int morale = m_game->GetStackMorale(unit, column, row);
        const int full = unit.m_node ? unit.m_node->m_rating : 6;
        if (morale > unit.m_rating)
            moraleColour = kRed;
        else if (morale < full)
            moraleColour = kYellow;
    }
    number({ 52, 61 }, t.morale, moraleColour);
    number({ 93, 134 }, t.defense, !hidden && type && (type->m_targetFlags & 0x1) ? kRed : kWhite);
    number({ 134, 109 }, t.assault, kWhite);
    // 4. The carrier mark.
    const BitmapSurface* nationSheet = m_view ? m_view->GetNationIconSheet(nation) : nullptr;
    const bool inLoad = HasStatus(unit, kCarried) || HasStatus(unit, kLoaded);
    const bool carrier = type && (type->IsCarrier() || (type->m_moveFlags & 0x400));
    if (inLoad || carrier) {
        const int cell = nation > 1 ? (inLoad ? 32 : 33) : (inLoad ? 174 : 176) + side;
        DrawSheetCell(canvas, nationSheet, cell, kIconCell, { x + 146, y + 109 });
    }
    // 5, 6. The status and capability marks.
    Point at { x + 10, y + 14 };
    for (int cell : StatusMarks(unit, column, row)) {
        DrawMark(canvas, side, cell, at);
        at.y += 16;
    }
    at = { x + 10, y + 136 };
    for (int cell : CapabilityMarks(unit)) {
        DrawMark(canvas, side, cell, at);
        at.y -= 16;
    }
    // 7. The bar.
    canvas.SetFont(m_numberFont.get());
    canvas.SetTextColour(kWhite);
    canvas.TextOut({ x + 24, y + 151 + kBarHeight }, t.bar);
    if (!hidden) {
        int percent = unit.m_actionPoints;
        if (m_barMode == kBarStrength)
            percent = type && type->m_fullStrength > 0 ? unit.m_strength * 100 / type->m_fullStrength : 0;
        else if (m_barMode == kBarMorale) {
            const int full = unit.m_node ? unit.m_node->m_rating : 6;
            percent = full > 0 ? unit.m_rating * 100 / full : 0;
        }
        percent = std::clamp(percent, 0, 100);
        if (m_barMode == kBarAction && !m_game->IsOptionSet(0x80) && type && type->m_fireApCost != 0) {
            const int mx = x + 48 + kBarWidth * type->m_fireApCost / 100;
            canvas.FillRect({ mx - 1, y + 149, mx + 1, y + 159 }, kWhite);
        }
        canvas.FillRect(
            Rect::FromPointSize({ x + 48, y + 151 }, { kBarWidth * percent / 100, kBarHeight }), kBarColour[m_barMode]);
    }
    // 8. The side mark.
    const int sideCell = nation > 1 ? 35 : (side == 1 ? 208 : 209);
    DrawSheetCell(canvas, nationSheet, sideCell, kIconCell, { x + 149, y + 9 });
    y += H;
}

void CInfoBoxWnd::DrawStackUnitPanel(gfx::Surface& target, int index, int column, int row, int x, int y)
{
    if (!m_game || !m_game->m_map.IsOnMap(column, row))
        return;
    const UnitNode* node = m_game->m_stacks.At(column, row).Head();
    for (int i = 0; node && i < index; ++i)
        node = node->next;
    if (!node || index < 0)
        return;
    const bool selected = column == m_column && row == m_row && index < static_cast<int>(m_entries.size())
        && m_entries[static_cast<std::size_t>(index)].selected;
    DrawUnitPanel(target, node, column, row, selected, x, y);
}

std::string CInfoBoxWnd::PairText(const int values[2]) const
{
    const bool hidden0 = IsFogged(0);
    const bool hidden1 = IsFogged(1);
    return (hidden0 ? std::string("?") : Number(values[0])) + "/" + (hidden1 ? std::string("?") : Number(values[1]));
}

std::vector<std::string> CInfoBoxWnd::DescribeHex() const
{
    std::vector<std::string> lines;
    if (!m_game || !m_game->m_map.IsOnMap(m_column, m_row))
        return lines;
    const int x = m_column;
    const int y = m_row;
    const int flags = m_game->m_hexFlags.At(x, y);
    String text;
    if (flags & 0x200)
        text = "Damaged";
    else if (flags & 0x100)
        text = "Rubble";
    else if (m_game->m_map.IsRoadAcrossWater(x, y))
        text = "Bridge";
    else if (m_game->HasPontoon(x, y))
        PontoonBridgeText(m_game->m_pontoons.At(x, y), text);
    else
        m_game->GetHexTerrainName(text, x, y);
    std::string first = text.str();
    if (m_game->IsHexContentShown(x, y)) {
        for (const auto& [bit, mark] :
            { std::pair { 0x10, " (IP)" }, { 0x80, " (TR)" }, { 0x20, " (BK)" }, { 0x400, " (PB)" },
                { 0x2000, " (CV)" }, { 0x1, " (MN1)" }, { 0x2, " (MN2)" }, { 0x4, " (MN3)" }, { 0x8, " (BLK)" } })
            if (flags & bit)
                first += mark;
    }
    lines.push_back(first);
    String elevation;
    m_game->m_map.GetElevationText(elevation, x, y);
    lines.push_back(elevation.str());
    lines.push_back("Objective");
    const ObjectiveCell& objective = m_game->m_objectives.At(x, y);
    if (objective.value < 0 && IsFogged(DefaultSideOfNation(objective.nation)))
        lines.push_back("?");
    else
        lines.push_back(Number(objective.value < 0 ? -1 - objective.value : objective.value));
    lines.push_back("Wrecks");
    lines.push_back(Number(m_game->GetWreckValue(x, y)));
    lines.push_back("Concealment");
    lines.push_back(Number(m_game->GetHexConcealment(x, y)));
    lines.push_back("Visibility");
    lines.push_back(Number(m_game->m_visibility));
    lines.push_back("Air Power");
    lines.push_back(PairText(m_game->m_airPower));
    lines.push_back("Smoke");
    lines.push_back(PairText(m_game->m_smoke));
    if (m_game->m_night) {
        lines.push_back("Starshells");
        lines.push_back(PairText(m_game->m_starshells));
    }
    lines.push_back("Ammo");
    lines.push_back(PairText(m_game->m_ammo));
    return lines;
}

void CInfoBoxWnd::DrawHexDescription(Canvas& canvas, int x0, int y0)
{
    canvas.SetFont(m_hexFont.get());
    canvas.SetTransparentText(true);
    const std::vector<std::string> lines = DescribeHex();
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const bool left = n % 2 == 0;
        const Point at { left ? x0 + 4 : x0 + 178, y0 + 16 + static_cast<int>(n / 2) * 20 };
        canvas.SetTextAlign(left ? gfx::HAlign::Left : gfx::HAlign::Right, gfx::VAlign::Baseline);
        canvas.SetTextColour(kBlack);
        canvas.TextOut(at, lines[n]);
        canvas.SetTextColour(kWhite);
        canvas.TextOut({ at.x + 2, at.y + 1 }, lines[n]);
    }
}
