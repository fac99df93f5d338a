#pragma once
// The file layer: a new battle from a scenario, battle files read and
// written in the format of the special mode, the File menu, the start-up
// dispatch on the command line and the question to save.

#include <string>

#include "frame/CommandLine.h"
#include "frame/DisplayFrame.h"

// Who plays each side of a new battle, as the opponent choice gives it.
struct OpponentChoice {
    int modes[2] = { 0, 0 };
    std::uint8_t fog[2] = { 0, 0 };
    int advantage = 0;
    int rules = 88;
};

class CFileFrame : public CDisplayFrame {
public:
    CFileFrame(platform::Services& services, FrameResources resources, const CommandLine& commandLine);
    ~CFileFrame() override = default;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(platform::ui::CmdUI& ui) override;
    // New, open, replay and exit.
    bool IsTopLevelCommand(int id) const override;

    // ---- hooks ----
    bool QuerySaveChanges() override;
    void StartNewBattle() override;
    bool ReadDocument(std::istream& in) override;
    bool WriteDocument(std::ostream& out) override;
    void PrepareOpenDialog(FileDialogSettings& settings) override;
    void PrepareSaveDialog(FileDialogSettings& settings) override;
    bool BeginPlayerTurn(const String& text) override;
    bool EndPhase(bool flag) override;
    bool RunStartup() override;

    // A new battle from a scenario file: the opponent and rules chosen, the
    // scenario read, then the battle set up for play. False when the file
    // could not be opened or read.
    bool ReadScenario(const std::string& path);
    // The opponent and rules of a new battle, by game kind and mode.
    OpponentChoice ChooseOpponentAndRules();

    void OnFileCommand(int id);
    void OnOpenBattle();
    void OnSaveBattle();
    void OnSaveBattleAs();
    void OnReplay();

    const CommandLine& GetCommandLine() const { return m_commandLine; }

protected:
    CommandLine m_commandLine;

private:
    // The mode the battle files follow: the special layer's once it runs one,
    // else the one the command line asked for.
    int FileMode() const;
    void FillBattleFileSettings(FileDialogSettings& settings, bool save) const;
    // Hidden information follows the night flag after each read.
    void AfterSuccessfulRead();
};
