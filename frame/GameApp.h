#pragma once
// The application object of `vl`: the command line the launcher passed, the
// marker file "NoAutoRun" while the program runs, and at exit the launcher
// started again with the result of the battle.

#include <filesystem>
#include <string>
#include <vector>

#include "frame/CommandLine.h"
#include "platform/core/Process.h"

class CGameApp {
public:
    static constexpr const char* kLauncher = "Velmora";
    static constexpr const char* kMarkerFile = "NoAutoRun";

    // The program's arguments joined by blanks, as the parser reads them.
    static std::string JoinArguments(const std::vector<std::string>& arguments);
    // Option groups ("-o", "-k 1 -1 0", "-dh" ...) then the file name.
    static CommandLine ParseCommandLine(std::string_view text);

    // The launcher's arguments at exit: "-i", or after a campaign battle that
    // ended "-k", the two result numbers and the campaign file.
    static std::vector<std::string> RestartArguments(const CommandLine& commandLine, const CampaignResult& result);

    explicit CGameApp(CommandLine commandLine)
        : m_commandLine(std::move(commandLine))
    {
    }

    // Creates the marker file in the working folder.
    void InitInstance(const std::filesystem::path& folder = ".");
    // Deletes the marker and, when the launcher started us, starts it again;
    // a failed start is not shown, as the program is ending.
    void ExitInstance(
        platform::ProcessLauncher& launcher, const CampaignResult& result, const std::filesystem::path& folder = ".");

    const CommandLine& GetCommandLine() const { return m_commandLine; }

private:
    CommandLine m_commandLine;
};
