#include "ai/ComputerTurn.h"

#include <algorithm>

#include "ai/Game.h"

StepAdvance NextStepState(int state, int options)
{
    const bool deferred = (options & kOptionPlottedIndirectFire) != 0;
    const bool late = (options & kOptionAirInFinalPhase) != 0;
    const bool threePhase = (options & kOptionThreePhase) != 0;
    auto stay = [](int next) { return StepAdvance { true, false, next }; };
    auto end = [](int next) { return StepAdvance { true, true, next }; };
    switch (state) {
    case CComputerTurn::kInitialFire:
        return stay(late ? (deferred ? 1 : 7) : 6);
    case CComputerTurn::kInitialMove:
        return threePhase ? end(2) : stay(3);
    case CComputerTurn::kDefensiveFire:
        return end(3);
    case CComputerTurn::kFinalFire:
        return stay(4);
    case CComputerTurn::kFinalAssault:
        return stay(5);
    case CComputerTurn::kFinalMove:
        if (late)
            return stay(6);
        return deferred ? stay(7) : end(0);
    case CComputerTurn::kAirStrikes:
        if (late)
            return deferred ? stay(7) : end(0);
        return deferred ? stay(1) : stay(7);
    case CComputerTurn::kIndirectFire:
        return deferred ? end(0) : stay(1);
    default:
        return StepAdvance {};
    }
}

CComputerTurn::Outcome CComputerTurn::RunComputerTurn()
{
    // A nested start leaves the running driver, and a stop asked of it, alone.
    if (m_running)
        return Outcome::AlreadyRunning;
    m_stopRequest = false;
    if (m_game.m_banzaiSound) {
        m_game.m_banzaiSound = false;
        m_host.PlaySound(kBanzaiSound);
    }
    m_running = true;
    ResetStepForPhase();
    Outcome outcome = Outcome::SideManual;
    while (m_game.m_aiMode[m_game.m_map.GetSide()] != kAiManual) {
        m_host.BetweenSteps();
        // A stop asked between steps ends the driver before anything more
        // is chosen: a choice already changes the battle.
        if (m_stopRequest) {
            outcome = Outcome::Stopped;
            break;
        }
        m_game.ClearUndo();
        EnterPhase();
        if (AnnounceStep()) {
            ++m_actions;
            if (!ResolveStep()) {
                outcome = Outcome::Stopped;
                break;
            }
            if (m_actions >= m_actionLimit && !FinishComputerPhase(NextPhaseState(), true)) {
                outcome = m_stopRequest ? Outcome::Stopped : Outcome::BattleOver;
                break;
            }
        } else if (!AdvanceStep()) {
            outcome = m_stopRequest || m_state > kIndirectFire ? Outcome::Stopped : Outcome::BattleOver;
            break;
        }
    }
    m_running = false;
    return outcome;
}

void CComputerTurn::ResetStepForPhase()
{
    const int phase = m_game.m_map.GetPhase();
    m_state = phase == 0 ? kInitialFire : phase == 1 ? kDefensiveFire : kFinalFire;
}

bool CComputerTurn::AdvanceStep()
{
    if (m_stopRequest)
        return false;
    const StepAdvance advance = NextStepState(m_state, m_game.m_options);
    if (!advance.valid)
        return false;
    if (advance.endsPhase)
        return FinishComputerPhase(advance.next);
    m_state = advance.next;
    return true;
}

bool CComputerTurn::FinishComputerPhase(int nextState, bool limitReached)
{
    if (!m_host.ShowReport(String(limitReached ? kLimitText : kCompletedText), kReportCaption, 3, 0)) {
        m_stopRequest = true;
        return false;
    }
    m_state = nextState;
    return m_host.EndPhase();
}

int CComputerTurn::NextPhaseState() const
{
    int state = m_state;
    for (int step = 0; step < 8; ++step) {
        const StepAdvance advance = NextStepState(state, m_game.m_options);
        if (!advance.valid)
            break;
        if (advance.endsPhase)
            return advance.next;
        state = advance.next;
    }
    return kInitialFire;
}

void CComputerTurn::EnterPhase()
{
    const BattleClock& clock = m_game.m_map;
    const std::int64_t key
        = (static_cast<std::int64_t>(clock.GetCounter()) * 2 + clock.GetSide()) * 3 + clock.GetPhase();
    if (key == m_phaseKey)
        return;
    m_phaseKey = key;
    m_actions = 0;
    // Nothing else bounds a phase: a unit may fire for nothing and again.
    m_actionLimit = 20 * CountSideUnits(clock.GetSide()) + 100;
}

int CComputerTurn::CountSideUnits(int side) const
{
    int count = 0;
    for (int x = 0; x < m_game.m_stacks.Width(); ++x)
        for (int y = 0; y < m_game.m_stacks.Height(); ++y)
            for (const PlacedUnit& unit : m_game.m_stacks.At(x, y))
                count += unit.m_type && unit.m_type->GetSide() == side ? 1 : 0;
    for (const OffMapUnit& entry : m_game.m_offMapUnits)
        count += entry.unit.m_type && entry.unit.m_type->GetSide() == side ? 1 : 0;
    for (const ReinforcementGroup& group : m_game.m_reinforcements)
        if (group.GetSide() == side)
            count += static_cast<int>(group.m_units.Count());
    return count;
}

bool CComputerTurn::AnnounceStep()
{
    switch (m_state) {
    case kInitialFire:
    case kDefensiveFire:
    case kFinalFire:
        return AnnounceDirectFire();
    case kInitialMove:
    case kFinalMove:
        return AnnounceMove();
    case kFinalAssault:
        return AnnounceAssault();
    case kAirStrikes:
        return AnnounceAirStrike();
    case kIndirectFire:
        return AnnounceIndirectFire();
    default:
        return false;
    }
}

bool CComputerTurn::ResolveStep()
{
    if (m_stopRequest)
        return false;
    switch (m_state) {
    case kInitialFire:
    case kDefensiveFire:
    case kFinalFire:
        return ResolveDirectFire();
    case kInitialMove:
    case kFinalMove:
        return true;
    case kFinalAssault:
        return ResolveAssault();
    case kAirStrikes:
        return ResolveAirStrike();
    case kIndirectFire:
        return ResolveIndirectFire();
    default:
        return false;
    }
}

void CComputerTurn::Announce(const String& text, int pauseMs)
{
    if (!m_host.ShowReport(text, kReportCaption, 3, pauseMs))
        m_stopRequest = true;
}

bool CComputerTurn::AnnounceDirectFire()
{
    HexPos firer;
    HexPos target;
    PlacedUnit unit;
    const String text = m_game.ChooseDirectFire(firer, target, unit);
    if (text.IsEmpty())
        return false;
    m_host.OnEvent(CComputerTurnHost::Event::DirectFire, { firer, target });
    if (!m_host.ShowReport(text, kReportCaption, 3, 0)) {
        m_game.ClearFireTrace();
        m_stopRequest = true;
    }
    return true;
}

bool CComputerTurn::ResolveDirectFire()
{
    HexPos shown;
    HexPos target;
    const String report = m_game.ExecuteDirectFire(shown, target);
    const bool result = m_host.ShowReport(report, "", 1, kReportPause);
    if (m_game.m_map.IsOnMap(shown.column, shown.row))
        ResolveOpportunityFire(shown, false);
    return result;
}

bool CComputerTurn::AnnounceMove()
{
    HexList list;
    const String text = m_game.DoNextMove(list);
    if (text.IsEmpty())
        return false;
    std::vector<HexPos> hexes;
    for (const HexListNode* node = list.Head(); node; node = node->next)
        hexes.push_back(node->value);
    m_host.OnEvent(CComputerTurnHost::Event::Move, hexes);
    Announce(text, kMovePause);
    // The mines answer the units where the move ended, seen or not.
    std::vector<int> positions;
    const int count = std::min(m_game.GetMineAttacks(positions), 100);
    positions.resize(static_cast<std::size_t>(count));
    if (count > 0 && !hexes.empty())
        ResolveMineAttack(positions, hexes.back());
    if (m_game.IsFirePending())
        ExecuteOpportunityFire(false);
    return true;
}

bool CComputerTurn::AnnounceAssault()
{
    HexPos defending;
    const String text = m_game.ChooseAssault(defending);
    if (text.IsEmpty())
        return false;
    m_host.OnEvent(CComputerTurnHost::Event::Assault, { defending });
    Announce(text, 0);
    return true;
}

bool CComputerTurn::ResolveAssault()
{
    HexPos defending;
    const String report = m_game.ExecuteAssault(defending);
    return m_host.ShowReport(report, "", 1, kReportPause);
}

bool CComputerTurn::AnnounceAirStrike()
{
    HexPos hex;
    const String text = m_game.ChooseAirStrike(hex);
    if (text.IsEmpty())
        return false;
    if (!m_game.IsSideHidden(m_game.m_map.GetSide()))
        Announce(text, kMovePause);
    return true;
}

bool CComputerTurn::ResolveAirStrike()
{
    // Air strikes of the Final Phase land at a later phase start.
    if (m_game.IsOptionSet(kOptionAirInFinalPhase))
        return true;
    HexPos hex;
    int ordinal = 1;
    m_game.GetChosenAirStrike(hex, ordinal);
    const PlatoonType* aircraft = m_game.TakeRandomAircraft(m_game.m_map.GetSide(), true);
    m_host.OnEvent(CComputerTurnHost::Event::AirStrike, { hex });
    String report;
    m_game.ResolveAirStrike(report, hex.column, hex.row, aircraft, ordinal);
    return m_host.ShowReport(report, "", 1, kAirReportPause);
}

bool CComputerTurn::AnnounceIndirectFire()
{
    HexPos firer;
    HexPos target;
    int position = 0;
    int record = 0;
    int smoke = 0;
    const String text = m_game.ChooseIndirectFire(firer, target, position, record, smoke);
    if (text.IsEmpty())
        return false;
    // A starshell at night is fired at once; everything else is plotted.
    m_starshell = smoke != 0 && m_game.m_night != 0;
    if (!m_starshell) {
        PlacedUnit* unit = nullptr;
        if (record > 0) {
            int index = 1;
            for (OffMapUnit& entry : m_game.m_offMapUnits)
                if (index++ == record) {
                    unit = &entry.unit;
                    break;
                }
        } else if (UnitNode* node = m_game.GetStackNode(firer.column, firer.row, position)) {
            unit = &node->value;
        }
        if (unit)
            m_game.PlotIndirectFire(*unit, firer.column, firer.row, target.column, target.row, smoke != 0);
    }
    m_host.OnEvent(CComputerTurnHost::Event::IndirectFire, { firer, target });
    Announce(text, 0);
    return true;
}

bool CComputerTurn::ResolveIndirectFire()
{
    const int kind = m_game.m_missionKind;
    if (m_game.m_night == 0 || (kind != CGameAiIndirect::kOffMapSmoke && kind != CGameAiIndirect::kOnMapSmoke))
        return true;
    String text;
    String result;
    HexPos shown;
    HexPos target;
    const String report = m_game.ExecuteIndirectFire(text, shown, target, result);
    return m_host.ShowReport(report, "", 1, kReportPause);
}

bool CComputerTurn::ResolveOpportunityFire(HexPos hex, bool airStrike)
{
    if (!m_game.CheckOpportunityFire(hex.column, hex.row, airStrike))
        return false;
    ExecuteOpportunityFire(airStrike);
    return true;
}

bool CComputerTurn::ExecuteOpportunityFire(bool airStrike)
{
    // The fire goes on while further enemy units answer at the same hex.
    const HexPos target = m_game.m_opTargetHex;
    bool result = true;
    do {
        m_host.OnEvent(CComputerTurnHost::Event::OpportunityFire, { m_game.m_opFirerHex, target });
        String report;
        m_game.ExecutePendingFire(report, airStrike);
        result = m_host.ShowReport(report, "", 1, kReportPause);
        m_game.ClearUndo();
    } while (m_game.m_map.IsOnMap(target.column, target.row)
        && m_game.CheckOpportunityFire(target.column, target.row, airStrike));
    return result;
}

void CComputerTurn::ResolveMineAttack(const std::vector<int>& positions, HexPos hex)
{
    const int count = static_cast<int>(positions.size());
    if (!m_game.m_map.IsOnMap(hex.column, hex.row)
        || !m_game.IsMineAttackTriggered(positions.data(), count, hex.column, hex.row))
        return;
    m_host.OnEvent(CComputerTurnHost::Event::MineAttack, { hex });
    String report;
    m_game.CheckMinefieldAttack(report, positions.data(), count, hex.column, hex.row);
    const String shown = m_game.IsHexContentShown(hex.column, hex.row) ? report : String(kUnknownMineText);
    m_host.ShowReport(shown, kMineCaption, 1, 0);
}
