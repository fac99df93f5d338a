#include "frame/FileFrame.h"

#include <array>
#include <filesystem>
#include <fstream>

#include "frame/ChooseDialog.h"
#include "frame/NewScenarioDialog.h"
#include "frame/RuleDialog.h"
#include "model/Random.h"
#include "platform/core/Cursors.h"
#include "platform/ui/MessageBoxes.h"

using namespace platform::ui;

namespace {

const std::array<CommandTable<CFileFrame>::Entry, 1> kEntries { {
    { 101, 106, &CFileFrame::OnFileCommand },
} };
const CommandTable<CFileFrame> kCommands { kEntries };

constexpr std::uint32_t kOpenFlags = FileDialogSettings::kFileMustExist | FileDialogSettings::kHideReadOnly;
constexpr std::uint32_t kSaveFlags = FileDialogSettings::kOverwritePrompt | FileDialogSettings::kHideReadOnly;

} // namespace

CFileFrame::CFileFrame(platform::Services& services, FrameResources resources, const CommandLine& commandLine)
    : CDisplayFrame(services, std::move(resources))
    , m_commandLine(commandLine)
{
}

bool CFileFrame::OnCommand(int id) { return kCommands.Run(*this, id) || CDisplayFrame::OnCommand(id); }

bool CFileFrame::OnUpdateCommand(CmdUI& ui)
{
    return kCommands.Update(*this, ui) || CDisplayFrame::OnUpdateCommand(ui);
}

bool CFileFrame::IsTopLevelCommand(int id) const
{
    return id == 101 || id == 102 || id == 105 || id == 106 || CDisplayFrame::IsTopLevelCommand(id);
}

int CFileFrame::FileMode() const { return m_specialMode != kNone ? m_specialMode : m_commandLine.startMode; }

void CFileFrame::OnFileCommand(int id)
{
    switch (id) {
    case 101:
        OnFileNew();
        break;
    case 102:
        OnOpenBattle();
        break;
    case 103:
        OnSaveBattle();
        break;
    case 104:
        OnSaveBattleAs();
        break;
    case 105:
        OnReplay();
        break;
    case 106:
        OnFileExit();
        break;
    default:
        break;
    }
}

// ---- start-up ----

bool CFileFrame::RunStartup()
{
    if (!CDisplayFrame::RunStartup())
        return false;
    const int mode = m_commandLine.startMode;
    switch (mode) {
    case kModemHost:
        OnModemHost();
        break;
    case kModemCaller:
        OnModemCaller();
        break;
    case kPbem:
        OnPbem();
        break;
    case kHotSeat:
        OnHotSeat();
        break;
    default:
        break;
    }
    if (m_commandLine.lobby)
        StartFromLobby();
    const std::string& name = m_commandLine.startFile;
    if (m_campaignGame && !name.empty())
        SetPathName(name);
    if (!m_commandLine.openAsSaved || mode == kModemCaller) {
        if (!name.empty() && mode != kModemCaller)
            return ReadScenario(name);
        if (Options().prompt && mode == kNone)
            OnFileNew();
        return true;
    }
    if (!name.empty())
        ReadBattleFile(name);
    else
        OnOpenBattle();
    return true;
}

// ---- a new battle ----

void CFileFrame::StartNewBattle()
{
    const int mode = FileMode();
    if (m_campaignGame) {
        ReportError("Cannot start new battle during Campaign Game");
        return;
    }
    if (mode == kModemCaller) {
        ReportError("Modem host is responsible for starting scenario");
        return;
    }
    if (!IsLocalInControl() && mode != kModemHost && mode != kPbem) {
        ReportError("Cannot start new scenario while under Remote Control");
        return;
    }
    FileDialogSettings settings;
    settings.flags = kOpenFlags;
    settings.SetFilter("Scenario Files (*.scn)|*.scn|");
    settings.SetDefaultExtension("scn");
    const auto chosen = Services().fileDialogs.Run(settings.ToRequest(false));
    if (chosen)
        ReadScenario(*chosen);
}

OpponentChoice CFileFrame::ChooseOpponentAndRules()
{
    OpponentChoice choice;
    platform::Services& services = Services();
    const int profileRules = services.profile.GetInt("Options", "rules", CRuleDialog::kDefaultMask);
    const int mode = FileMode();
    if (m_campaignGame) {
        const int p = m_commandLine.campaignSide == 1 ? 1 : 0;
        const int o = 1 - p;
        choice.modes[p] = kAiManual;
        choice.modes[o] = kAiPlanningComputer;
        choice.fog[p] = 0;
        choice.fog[o] = 1;
        const int third = m_commandLine.campaignThird;
        const int advantage = third == 2 ? -15 : third == 3 ? -30 : 0;
        choice.advantage = p == 1 ? -advantage : advantage;
        choice.rules = CRuleDialog::kDefaultMask;
        if (!m_commandLine.openAsSaved) {
            CRuleDialog rules(services, profileRules, false);
            if (services.dialogs.RunModal(rules) == kEndOk)
                choice.rules = rules.GetMask();
        }
    } else if (mode == kNone || mode == kRecord) {
        CChooseDialog dialog(services);
        services.dialogs.RunModal(dialog);
        dialog.GetSelection(choice.modes, choice.fog);
        choice.advantage = dialog.m_advantage;
        choice.rules = dialog.m_rules;
        SetLocalSide(choice.fog[0] ? 1 : 0);
    } else if (mode == kModemHost || mode == kModemCaller || mode == kPbem) {
        CNewScenarioDialog dialog(services);
        services.dialogs.RunModal(dialog);
        SetLocalSide(dialog.m_localSide);
        choice.fog[1 - dialog.m_localSide] = dialog.m_fogOfWar ? 1 : 0;
        choice.advantage = dialog.m_advantage;
        choice.rules = dialog.m_rules;
    } else if (mode == kHotSeat) {
        CRuleDialog rules(services, profileRules, false);
        choice.rules = profileRules;
        if (services.dialogs.RunModal(rules) == kEndOk)
            choice.rules = rules.GetMask();
        choice.fog[0] = choice.fog[1] = 1;
        SetLocalSide(Game().m_map.GetSide());
    }
    services.profile.SetInt("Options", "rules", choice.rules);
    return choice;
}

bool CFileFrame::ReadScenario(const std::string& path)
{
    std::ifstream in(path);
    if (!in) {
        ShowBox("Unable to open scenario file", "File Read Error", kBoxOk | kBoxIconExclamation);
        return false;
    }
    const OpponentChoice choice = ChooseOpponentAndRules();
    CGame& game = Game();
    bool read = false;
    String text;
    std::vector<int> groups;
    std::vector<int> released;
    HexList hexes;
    {
        platform::BusyCursorScope busy(Services().cursors);
        read = game.ReadScenario(in, choice.modes, choice.fog, text, groups, released, hexes);
    }
    if (!read) {
        if (game.m_versionMismatch)
            ShowBox("Invalid file for this version of VL", "Read Error", kBoxOk | kBoxIconExclamation);
        else
            ShowBox(game.m_battleReadError.IsEmpty() ? "Error reading scenario file" : game.m_battleReadError.str(),
                "File Read Error", kBoxOk | kBoxIconExclamation);
        // The window shows the reset battle; nothing is set up or saved.
        ClearScenarioText();
        MapView().AttachBattle(game.m_terrain, false);
        MapView().Redraw();
        UpdateStatusTexts();
        return false;
    }
    ReadScenarioText(in);
    if (m_commandLine.night) {
        game.m_night = 1;
        const int v = game.m_map.GetTimeLimit() / 6;
        for (int side = 0; side < 2; ++side)
            game.m_starshells[side] = v + static_cast<int>(UniformRandom() * 0.2 * v);
    }
    AfterSuccessfulRead();
    if (Options().fast)
        for (int side = 0; side < 2; ++side)
            m_fastAnimation[side] = choice.modes[side] != kAiManual;
    game.m_advantage = choice.advantage;
    game.m_options = choice.rules;
    const int toMove = game.m_map.GetSide() == 1 ? 1 : 0;
    if (Options().bullet && game.m_aiMode[toMove] == kAiManual)
        game.SaveFiringApForSide();
    if (FileMode() == kHotSeat) {
        ShowBox(toMove == 0 ? "Ready for NATO" : "Ready for Soviet Bloc", "Hot-Seat Play", kBoxOk);
        SetLocalSide(toMove);
    }
    OnBattleLoaded();
    BeginPlayerTurn(IsLocalInControl() ? text : String());
    MapView().RepaintHexList(hexes);
    if (IsGameOwner() && m_specialMode != kNone) {
        SendBattleState();
        UpdateControlIndicator();
        SendReleases(released);
        SendHexes(hexes);
    }
    SetModifiedFlag(true);
    if (m_campaignGame) {
        std::error_code ec;
        std::filesystem::copy_file(
            m_commandLine.startFile, "Campaign.bak", std::filesystem::copy_options::overwrite_existing, ec);
        OnSaveBattle();
    }
    if (m_campaignSetupMode)
        ShowBox("Entering Campaign Setup Mode\nSelect friendly units and right-click to move them\nClick Next Turn to "
                "exit",
            "New Scenario Message", kBoxOk);
    return true;
}

void CFileFrame::AfterSuccessfulRead() { Game().SetInfoHidden(Game().m_night != 0); }

// ---- battle files ----

bool CFileFrame::ReadDocument(std::istream& in)
{
    CGame& game = Game();
    const int mode = FileMode();
    bool read = false;
    {
        platform::BusyCursorScope busy(Services().cursors);
        if (UsesPlainBattleFiles()) {
            read = game.ReadBattle(in, true);
            if (read)
                ReadScenarioText(in);
            else
                ClearScenarioText();
        } else {
            read = IsPbemOrHotSeat() ? ReadPemBattle(in) : ReadEncryptedBattle(in);
            ClearScenarioText();
        }
    }
    if (!read) {
        if (game.m_versionMismatch)
            ShowBox("Invalid file for this version of VL", "Read Error", kBoxOk | kBoxIconExclamation);
        MapView().AttachBattle(game.m_terrain, false);
        MapView().Redraw();
        UpdateStatusTexts();
        return false;
    }
    AfterSuccessfulRead();
    if (IsGameOwner() && mode != kPbem && mode != kHotSeat && m_specialMode != kNone) {
        SendBattleState();
        UpdateControlIndicator();
    }
    OnBattleLoaded();
    if (mode != kPbem && mode != kHotSeat)
        BeginPlayerTurn(String());
    return true;
}

bool CFileFrame::WriteDocument(std::ostream& out)
{
    if (UsesPlainBattleFiles())
        return Game().WriteBattle(out) && WriteScenarioText(out);
    return IsPbemOrHotSeat() ? WritePemBattle(out) : WriteEncryptedBattle(out);
}

void CFileFrame::FillBattleFileSettings(FileDialogSettings& settings, bool save) const
{
    settings.flags = save ? kSaveFlags : kOpenFlags;
    switch (FileMode()) {
    case kPbem:
        settings.SetFilter("PBEM Battle Files (*.bte)|*.bte|");
        settings.SetDefaultExtension("bte");
        break;
    case kHotSeat:
        settings.SetFilter("Hot Seat Battle Files (*.btt)|*.btt|");
        settings.SetDefaultExtension("btt");
        break;
    case kModemHost:
    case kModemCaller:
        settings.SetFilter("Encrypted Battle Files (*.btx)|*.btx|");
        settings.SetDefaultExtension("btx");
        settings.binary = true;
        break;
    default:
        settings.SetFilter("Battle Files (*.btl)|*.btl|");
        settings.SetDefaultExtension("btl");
        break;
    }
    if (save)
        settings.SetFileName("battle." + settings.defaultExtension);
}

void CFileFrame::PrepareOpenDialog(FileDialogSettings& settings)
{
    CDisplayFrame::PrepareOpenDialog(settings);
    FillBattleFileSettings(settings, false);
}

void CFileFrame::PrepareSaveDialog(FileDialogSettings& settings)
{
    CDisplayFrame::PrepareSaveDialog(settings);
    FillBattleFileSettings(settings, true);
}

bool CFileFrame::QuerySaveChanges()
{
    if (m_campaignGame) {
        OnSaveBattle();
        return true;
    }
    return CDisplayFrame::QuerySaveChanges();
}

bool CFileFrame::BeginPlayerTurn(const String& text) { return CDisplayFrame::BeginPlayerTurn(text); }

bool CFileFrame::EndPhase(bool flag) { return CDisplayFrame::EndPhase(flag); }

// ---- the File menu ----

void CFileFrame::OnOpenBattle()
{
    const int mode = FileMode();
    if (m_campaignGame)
        ReportError("Cannot open battle during Campaign Game");
    else if (mode == kModemCaller)
        ReportError("Modem host is responsible for reading battle file");
    else if (!IsLocalInControl() && mode != kModemHost && mode != kPbem)
        ReportError("Cannot read battle file while under Remote Control");
    else
        OnFileOpen();
}

void CFileFrame::OnSaveBattle()
{
    if (FileMode() == kModemCaller)
        ReportError("Modem host is responsible for saving battle file");
    else
        OnFileSave();
}

void CFileFrame::OnSaveBattleAs()
{
    if (m_campaignGame)
        ReportError("Cannot save battle during Campaign Game");
    else if (FileMode() == kModemCaller)
        ReportError("Modem host is responsible for saving battle file");
    else
        OnFileSaveAs();
}

void CFileFrame::OnReplay()
{
    if (FileMode() != kNone) {
        ShowBox("Cannot replay while using Special modes", "Replay Error", kBoxOk | kBoxIconExclamation);
        return;
    }
    if (!QuerySaveChanges())
        return;
    FileDialogSettings settings;
    settings.flags = kOpenFlags;
    settings.SetFilter("Replay Files (*.btr)|*.btr|");
    settings.SetDefaultExtension("btr");
    if (const auto chosen = Services().fileDialogs.Run(settings.ToRequest(false)))
        StartReplay(*chosen);
}
