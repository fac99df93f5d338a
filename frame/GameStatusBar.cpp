#include "frame/GameStatusBar.h"

#include "frame/Theme.h"
#include "mapview/MouseView.h"
#include "mapview/graphics/FontObjects.h"

using namespace platform;

namespace {

constexpr int kIconSize = 32;
constexpr int kSheetColumns = 12;
constexpr gfx::Pixel kWhite = 0xFFFFFF;
constexpr gfx::Pixel kBlack = 0x000000;

} // namespace

CGameStatusBar::CGameStatusBar(CMouseView* view)
    : m_view(view)
{
    m_gauge.SetColour(0xC00000);
}

CGameStatusBar::~CGameStatusBar() = default;

int CGameStatusBar::OnCreate()
{
    if (CDirectDrawWnd::OnCreate() == -1)
        return -1;
    m_font = CreateFontObject("MS Sans Serif", 14, 700);
    Paint();
    return 0;
}

void CGameStatusBar::OnSize(Size client)
{
    CDirectDrawWnd::OnSize(client);
    if (client.width > 0 && client.height > 0)
        Paint();
}

void CGameStatusBar::SetValues(const Values& values)
{
    if (values == m_values)
        return;
    m_values = values;
    Paint();
}

void CGameStatusBar::SetPaneText(int pane, const std::string& text)
{
    std::string& slot = m_panes[pane == 0 ? 0 : 1];
    if (slot == text)
        return;
    slot = text;
    Paint();
}

void CGameStatusBar::SetControlIcon(int code)
{
    m_controlIcon = code;
    Paint();
}

int CGameStatusBar::GaugePercent() const
{
    return m_values.turnCount == 0 ? 0 : m_values.currentTurn * 100 / m_values.turnCount;
}

void CGameStatusBar::DrawSheetCell(int nation, int cell, Point at)
{
    const BitmapSurface* sheet = m_view ? m_view->GetNationIconSheet(nation) : nullptr;
    if (!sheet || !sheet->IsLoaded())
        return;
    const Point from { (cell % kSheetColumns) * kIconSize, (cell / kSheetColumns) * kIconSize };
    gfx::Canvas canvas(BackBuffer());
    canvas.DrawSurface(at, sheet->Surface(), Rect::FromPointSize(from, { kIconSize, kIconSize }), sheet->IsKeyed());
}

void CGameStatusBar::DrawCentredText(
    gfx::Canvas& canvas, int x, int middle, const std::string& text, gfx::Pixel colour, gfx::HAlign align)
{
    if (!m_font)
        return;
    canvas.SetFont(m_font.get());
    canvas.SetTextColour(colour);
    canvas.SetTransparentText(true);
    canvas.SetTextAlign(align, gfx::VAlign::Top);
    canvas.TextOut({ x, middle - canvas.TextExtent(text).height / 2 }, text);
}

void CGameStatusBar::Paint()
{
    if (!Host())
        return;
    const Size client = ClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    gfx::Canvas canvas(BackBuffer());
    canvas.FillRect(Rect::FromSize(client), theme::kButtonFace);
    const int left = 0;
    const int right = client.width;
    const int middle = client.height / 2;

    // The nations of the side to move.
    for (int i = 0; i < 2; ++i) {
        const int nation = m_values.nations[i];
        if (nation == -1)
            continue;
        const int cell = nation == 0 ? 199 : nation == 1 ? 198 : 34;
        DrawSheetCell(nation, cell, { left - 4 + 20 * i, middle - 16 });
    }
    DrawCentredText(canvas, 50, middle, std::to_string(m_values.currentTurn), kWhite);
    m_gauge.Draw(canvas, { left + 60, middle - 4 }, GaugePercent());
    DrawCentredText(canvas, 159, middle, std::to_string(m_values.turnCount), kWhite);

    // The per-side value with its icon (sheet position 64, 480 is cell 182).
    DrawSheetCell(0, (480 / kIconSize) * kSheetColumns + 64 / kIconSize, { 169, middle - 16 });
    DrawCentredText(canvas, 201, middle, m_values.sideValue == -1 ? "?" : std::to_string(m_values.sideValue), kWhite);
    if (m_values.night) {
        DrawSheetCell(0, (96 / kIconSize) * kSheetColumns + 352 / kIconSize, { 229, middle - 16 });
        DrawCentredText(
            canvas, 261, middle, m_values.starshells == -1 ? "?" : std::to_string(m_values.starshells), kWhite);
    }
    DrawCentredText(canvas, client.width / 2, middle, m_panes[0], kWhite);
    if (m_controlIcon >= 1 && m_controlIcon <= 4)
        DrawSheetCell(0, kControlCells[m_controlIcon], { right - 86, middle - 16 });
    DrawCentredText(canvas, right - 10, middle, m_panes[1], kBlack, gfx::HAlign::Right);
    PresentClient();
}
