#pragma once
// The special-modes layer of the main window: network play, play by e-mail,
// recording and hot seat. Here it stands in mode 0 (none): every hook, query
// and send answers as mode 0 does. Sends go through one message sink, which
// no mode installs yet; tests replace it with a recorder.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "frame/OptionsFrame.h"
#include "model/Lists.h"

// Where the one-letter messages of the special modes go.
class IGameMessageSink {
public:
    virtual ~IGameMessageSink() = default;
    virtual void Send(const std::string& message) = 0;
};

class CSpecialFrame : public COptionsFrame {
public:
    enum SpecialMode : int { kNone = 0, kModemHost = 1, kModemCaller = 2, kPbem = 3, kRecord = 4, kHotSeat = 5 };

    CSpecialFrame(platform::Services& services, FrameResources resources);
    ~CSpecialFrame() override = default;

    // ---- hooks ----
    bool QuerySaveChanges() override;
    bool IsLocalInControl() override;
    void GetTitleText(String& out) override;
    bool BeginPlayerTurn(const String& text) override;
    bool EndPhase(bool flag) override;
    void SetModifiedFlag(bool modified) override;
    // The starts of the special modes replace the battle.
    bool IsTopLevelCommand(int id) const override;

    // ---- state and queries ----
    int GetSpecialMode() const { return m_specialMode; }
    int GetLocalSide() const { return m_localSide; }
    void SetLocalSide(int side) { m_localSide = side == 1 ? 1 : 0; }
    bool UsesPlainBattleFiles() const { return m_specialMode == kNone || m_specialMode == kRecord; }
    bool IsPbemOrHotSeat() const { return m_specialMode == kPbem || m_specialMode == kHotSeat; }
    bool IsGameOwner() const;
    bool IsReplaying() const { return false; }
    bool IsLocalCommander() const { return true; }
    bool AreUnitsUnderLocalCommand(const std::vector<int>& positions, int column, int row) const;
    void MarkLocalPlayerDone() { }
    void UpdateControlIndicator();

    // ---- mode switches (the start-up dispatch runs them) ----
    // The special modes come with their own layer; until then a start in
    // one of them plays mode 0.
    void OnModemHost() { }
    void OnModemCaller() { }
    void OnPbem() { }
    void OnHotSeat() { }
    void StartFromLobby() { }
    // Opens a record file and plays it back; without the replay player a
    // file cannot be played ("Error opening replay file").
    bool StartReplay(const std::string& path);

    // ---- the wrapped battle formats of the special modes ----
    bool ReadPemBattle(std::istream&) { return false; }
    bool ReadEncryptedBattle(std::istream&) { return false; }
    bool WritePemBattle(std::ostream&) { return false; }
    bool WriteEncryptedBattle(std::ostream&) { return false; }

    // ---- messages, sent only in a special mode ----
    void SetMessageSink(IGameMessageSink* sink) { m_sink = sink; }
    void SendNextPhase();
    void SendHexes(const HexList& hexes);
    void SendHex(int column, int row);
    void SendReleases(const std::vector<int>& released);
    void SendBattleState();
    void SendReport(const std::string& text);
    void SendMove(HexPos from, HexPos to);
    void SendLastMove();
    void SendUnitCommand(HexPos hex);
    void SendRemoveUnits(HexPos hex);
    void SendDirectFire(int unit, HexPos from, int value, HexPos target, bool smoke);
    void SendIndirectFire(HexPos observer, HexPos target, int position, int pendingPlace, bool smoke);
    void SendFireResult(HexPos from, HexPos target);
    void SendAssault();
    void SendAirStrikePlotted(HexPos hex);
    void SendAirStrikeUpdates();
    void SendAirAttack(HexPos hex);
    void SendMineAttack(HexPos hex);
    void SendReinforcementUpdates();
    void SendReinforcementPlaced(int groupPlace, const HexList& hexes);
    void SendPhaseReport(const std::string& text);
    void SendPendingFiresDone();
    void SendOpFireLimits(int side, int unitClass, int targetType, int value);

protected:
    int m_specialMode = kNone;
    int m_localSide = 0;

private:
    bool InSpecialMode() const { return m_specialMode != kNone && m_sink; }
    void Send(const std::string& message);

    IGameMessageSink* m_sink = nullptr;
};
