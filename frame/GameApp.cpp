#include "frame/GameApp.h"

#include <cctype>
#include <charconv>
#include <fstream>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One whole number after blanks, as formatted input reads it; the position
// stays where it was when none parses there.
bool ReadNumber(std::string_view text, std::size_t& pos, int& value)
{
    std::size_t at = pos;
    while (at < text.size() && (IsBlank(text[at]) || text[at] == '\n' || text[at] == '\r'))
        ++at;
    int number = 0;
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    if (begin < end && *begin == '+')
        ++begin;
    const auto [stop, ec] = std::from_chars(begin, end, number);
    if (ec != std::errc())
        return false;
    value = number;
    pos = static_cast<std::size_t>(stop - text.data());
    return true;
}

} // namespace

std::string CGameApp::JoinArguments(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty())
            text += ' ';
        text += argument;
    }
    return text;
}

CommandLine CGameApp::ParseCommandLine(std::string_view text)
{
    CommandLine out;
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    while (pos < text.size()) {
        if (text[pos] != '-') {
            const std::size_t end = text.find('\n', pos);
            out.startFile = std::string(text.substr(pos, end == std::string_view::npos ? end : end - pos));
            if (!out.startFile.empty() && out.startFile.back() == '\r')
                out.startFile.pop_back();
            if (!out.startFile.empty() && !out.lobby)
                out.started = true;
            break;
        }
        // One group: up to the next blank, the '-' included.
        while (pos < text.size() && !IsBlank(text[pos])) {
            switch (text[pos]) {
            case 'c':
                out.startMode = 2;
                out.started = true;
                break;
            case 'd':
                out.lobby = true;
                break;
            case 'e':
                out.startMode = 3;
                out.started = true;
                break;
            case 'f':
                out.started = true;
                break;
            case 'h':
                out.startMode = 1;
                out.started = true;
                break;
            case 'k': {
                out.campaign = true;
                out.started = true;
                // Each number is read on its own; one that does not parse
                // leaves it and the later ones unchanged.
                std::size_t at = pos + 1;
                int value = 0;
                if (ReadNumber(text, at, value)) {
                    out.campaignSide = value == 1 ? 1 : 0;
                    if (ReadNumber(text, at, value)) {
                        out.campaignForceId = value;
                        if (ReadNumber(text, at, value))
                            out.campaignThird = value >= 0 && value <= 3 ? value : 0;
                    }
                }
                pos = at - 1;
                break;
            }
            case 'n':
                out.night = true;
                break;
            case 'o':
                out.openAsSaved = true;
                out.started = true;
                break;
            case 't':
                out.startMode = 5;
                out.started = true;
                break;
            default:
                break;
            }
            ++pos;
        }
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
    }
    return out;
}

std::vector<std::string> CGameApp::RestartArguments(const CommandLine& commandLine, const CampaignResult& result)
{
    if (commandLine.campaign && result.ended)
        return { "-k", std::to_string(result.first), std::to_string(result.second), commandLine.startFile };
    return { "-i" };
}

void CGameApp::InitInstance(const std::filesystem::path& folder) { std::ofstream marker(folder / kMarkerFile); }

void CGameApp::ExitInstance(
    platform::ProcessLauncher& launcher, const CampaignResult& result, const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::remove(folder / kMarkerFile, ec);
    if (m_commandLine.started)
        launcher.SpawnDetached(kLauncher, RestartArguments(m_commandLine, result));
}
