#include "frame/OptionsFrame.h"

#include <array>

#include "frame/RuleDialog.h"

using namespace platform::ui;

namespace {

const std::array<CommandTable<COptionsFrame>::Entry, 4> kEntries { {
    { 1124, 1124, &COptionsFrame::OnOptionalRules },
    { 1101, 1123, &COptionsFrame::OnToggleOption, &COptionsFrame::OnUpdateOption },
    { 1201, 1204, &COptionsFrame::OnReportDetails, &COptionsFrame::OnUpdateOption },
    { 1301, 1306, &COptionsFrame::OnInitialView, &COptionsFrame::OnUpdateOption },
} };
const CommandTable<COptionsFrame> kCommands { kEntries };

// Commands 1302-1306 and the view modes they choose.
constexpr int kInitialViews[5] = { 2, 1, 0, 3, 4 };

} // namespace

COptionsFrame::COptionsFrame(platform::Services& services, FrameResources resources)
    : CGameFrame(services, std::move(resources))
{
}

bool COptionsFrame::OnCommand(int id) { return kCommands.Run(*this, id) || CGameFrame::OnCommand(id); }

bool COptionsFrame::OnUpdateCommand(CmdUI& ui)
{
    return kCommands.Update(*this, ui) || CGameFrame::OnUpdateCommand(ui);
}

bool COptionsFrame::IsOptionOn(int id) const
{
    auto& self = const_cast<COptionsFrame&>(*this);
    const FrameOptions& o = self.Options();
    const CMapView& view = self.MapView();
    switch (id) {
    case 1101:
        return o.title;
    case 1102:
        return o.menu;
    case 1104:
        return o.prompt;
    case 1105:
        return view.m_beepOnError;
    case 1106:
        return view.IsHide3DHotSpot();
    case 1107:
        return view.IsBlinkEnabled();
    case 1108:
        return view.IsEdgeScroll();
    case 1109:
        return view.m_smoothScroll;
    case 1110:
        return o.sound;
    case 1111:
        return o.music;
    case 1112:
        return o.background;
    case 1113:
        return o.list;
    case 1114:
        return view.AreGraphicalIcons();
    case 1115:
        return view.AreHexOutlinesShown();
    case 1116:
        return o.save;
    case 1117:
        return o.bullet;
    case 1118:
        return o.tracking;
    case 1119:
        return o.objectives;
    case 1120:
        return o.fast;
    case 1121:
        return o.human;
    case 1122:
        return o.ask;
    case 1123:
        return view.AreSpecialIcons();
    default:
        return false;
    }
}

void COptionsFrame::OnToggleOption(int id)
{
    FrameOptions& o = Options();
    CMapView& view = MapView();
    switch (id) {
    case 1101:
        o.title = !o.title;
        if (Host())
            Host()->SetDecorated(o.title);
        break;
    case 1102:
        o.menu = !o.menu;
        if (Host())
            Host()->ShowMenuBar(o.menu);
        break;
    case 1104:
        o.prompt = !o.prompt;
        break;
    case 1105:
        view.m_beepOnError = !view.m_beepOnError;
        break;
    case 1106:
        view.ToggleHide3DHotSpot();
        break;
    case 1107:
        view.ToggleHotSpotBlink();
        break;
    case 1108:
        view.SetEdgeScroll(!view.IsEdgeScroll());
        break;
    case 1109:
        view.m_smoothScroll = !view.m_smoothScroll;
        break;
    case 1110:
        o.sound = !o.sound;
        break;
    case 1111:
        // The two kinds of background play one at a time.
        o.music = !o.music;
        if (o.music)
            o.background = false;
        break;
    case 1112:
        o.background = !o.background;
        if (o.background)
            o.music = false;
        break;
    case 1113:
        o.list = !o.list;
        if (Host())
            LayoutChildren(Host()->ClientSize());
        break;
    case 1114:
        RedrawUnitIcons();
        break;
    case 1115:
        view.ToggleHexOutlines();
        break;
    case 1116:
        o.save = !o.save;
        break;
    case 1117:
        o.bullet = !o.bullet;
        break;
    case 1118:
        o.tracking = !o.tracking;
        view.SetHoverTracking(o.tracking && !m_moveMode);
        break;
    case 1119:
        o.objectives = !o.objectives;
        break;
    case 1120:
    case 1121:
        if (id == 1120)
            o.fast = !o.fast;
        else
            o.human = !o.human;
        for (int side = 0; side < 2; ++side)
            m_fastAnimation[side] = Game().m_aiMode[side] != kAiManual ? o.fast : o.human;
        break;
    case 1122:
        o.ask = !o.ask;
        break;
    case 1123:
        view.ToggleSpecialIcons();
        break;
    default:
        break;
    }
}

void COptionsFrame::OnReportDetails(int id) { Options().details = id - 1201; }

void COptionsFrame::OnInitialView(int id)
{
    FrameOptions& o = Options();
    if (id == 1301) {
        o.last = true;
        o.initial = 0;
        return;
    }
    o.last = false;
    o.initial = kInitialViews[id - 1302];
}

void COptionsFrame::OnOptionalRules(int /*id*/)
{
    CRuleDialog dialog(Services(), Game().m_options, true);
    Services().dialogs.RunModal(dialog);
}

void COptionsFrame::OnUpdateOption(CmdUI& ui)
{
    const FrameOptions& o = Options();
    if (ui.id >= 1201 && ui.id <= 1204)
        ui.checked = o.details == ui.id - 1201;
    else if (ui.id == 1301)
        ui.checked = o.last;
    else if (ui.id >= 1302 && ui.id <= 1306)
        ui.checked = !o.last && o.initial == kInitialViews[ui.id - 1302];
    else
        ui.checked = IsOptionOn(ui.id);
}
