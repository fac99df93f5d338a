#pragma once
// Scripted answers to the new-campaign dialogs and a working copy of the
// demo data for the set-up's tests.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "launcher/campaign/setup/NewCampaign.h"

// Answers the dialogs from queues; the rows chosen are looked up by id.
class ScriptedDialogs : public NewCampaignDialogs {
public:
    bool RunLeaderDialog(LeaderDialog& dialog) override
    {
        ++leaderRuns;
        if (!leaderName)
            return false;
        dialog.SetName(*leaderName);
        dialog.SetOrganisationType(organisationType);
        dialog.SetAiLevel(aiLevel);
        for (int i = 0; i < portraitSteps; ++i)
            dialog.StepPortrait(1);
        proposedName = dialog.m_name;
        return dialog.PressOk();
    }
    int ChooseFormationRow(const std::vector<FormationListRow>& rows, bool topList) override
    {
        shownLists.push_back(rows);
        shownTop.push_back(topList);
        if (rowIds.empty())
            return -1;
        const std::string id = rowIds.front();
        rowIds.pop_front();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].id == id)
                return static_cast<int>(i);
        return -1;
    }
    bool AnswerNoLowerLevel() override
    {
        ++noLowerLevelAsked;
        return noLowerLevelOk;
    }
    std::optional<std::string> ChooseLinkedCampaignFile() override { return linkedFile; }

    std::optional<std::string> leaderName = "Hal Brenner";
    int organisationType = 2;
    int aiLevel = 1;
    int portraitSteps = 0;
    std::deque<std::string> rowIds;
    bool noLowerLevelOk = false;
    std::optional<std::string> linkedFile;

    int leaderRuns = 0;
    std::string proposedName;
    std::vector<std::vector<FormationListRow>> shownLists;
    std::vector<bool> shownTop;
    int noLowerLevelAsked = 0;
};

// The ids of a list's rows.
inline std::vector<std::string> RowIds(const std::vector<FormationListRow>& rows)
{
    std::vector<std::string> ids;
    for (const FormationListRow& row : rows)
        ids.push_back(row.id);
    return ids;
}

// The demo data's text files (no pictures or sounds) copied into the folder.
inline void CopyDemoTextData(const std::filesystem::path& to)
{
    for (const auto& entry : std::filesystem::directory_iterator(DemoDataFolder())) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || extension == ".bmp" || extension == ".bit" || extension == ".wav")
            continue;
        std::filesystem::copy_file(entry.path(), to / entry.path().filename());
    }
}
