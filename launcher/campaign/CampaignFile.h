#pragma once
// The campaign file: a single campaign's ".ccd" text (a linked campaign's
// ".ccl" is LinkedCampaign.h's), its one-step backup ".ccx" and the undo
// that restores it.
//
// Saves are made whole in memory and written atomically: the file as it was
// goes to ".ccx" first, then the new text over the file; a failure leaves
// both as they were. Reads fill a fresh record and hand it over only when
// the whole file read, so a damaged file changes nothing.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignRecord.h"
#include "model/TextScan.h"

// The lines of a campaign file being read, counted for the refusal text.
class CampaignFileLines {
public:
    // The text is read where it lies; the name is the one refusals give.
    CampaignFileLines(std::string& text, std::string_view fileName);

    // The next line; false at the end of the text or on a line longer than
    // the reader takes. LineNumber() is then that of the line asked for.
    bool Next(std::string_view& line);
    // No line is left.
    bool AtEnd() const { return m_reader.AtCleanEnd(); }
    int LineNumber() const { return m_line; }
    // "Error reading campaign file <name>, line <n>" for the current line.
    std::string Refusal() const;

private:
    LineReader m_reader;
    std::string m_fileName;
    int m_line = 0;
};

// Reads unit lines (each with its name, leader and successor lines) up to
// the end of the text or a blank line into a new tree whose root has depth
// `rootDepth`. False, with the lines at the faulty one, when a line does not
// read, a depth is below the root's, more than one below the unit before,
// or a second root, or an "Upgrades" block is not closed.
bool ReadCampaignUnits(CampaignFileLines& lines, std::unique_ptr<UnitRecord>& force, int rootDepth = 1);

// The ".ccd" text of the record with the running unit number. Empty, with
// `refusal` set, when some line would not read back as it is (a text holding
// a line end, an id that is empty or holds a blank, a battle name beginning
// with "-1", a line longer than the reader takes).
std::string MakeCampaignText(const CampaignRecord& record, std::int32_t unitCounter, std::string& refusal);

// Saves the record under its name, ".ccd" (".ccl" for a linked campaign),
// the previous file first going to ".ccx". A trailing line feed is first cut
// from the name, the formation id and the formation name. Empty when saved;
// else the error, shown under "Write Error", with the campaign file (and,
// when the backup failed, the old backup) untouched.
std::string SaveCampaign(CampaignContext& context, CampaignRecord& record);

// Reads the campaign file (a name ending in ".ccl" as a linked campaign)
// into the record and the running unit number. Empty when read; else the
// refusal, shown under "Campaign Error", and nothing has changed.
std::string ReadCampaign(CampaignContext& context, CampaignRecord& record, std::string_view fileName);

// The light read for the select screen: the name, formation line, formation
// name, nation, portrait and rank, current date, day offset and description
// section, as far as they read. False only when the file cannot be read.
bool ReadCampaignSummary(const CampaignContext& context, std::string_view fileName, CampaignRecord& record);

// The atomic save of a campaign file with its backup: the text is made a
// synced file first; the file it replaces (when it exists) then becomes the
// ".ccx", and the text the file. `fileName` ends in the campaign file's
// four-character extension.
std::string SaveWithBackup(const CampaignContext& context, std::string_view fileName, const std::string& text);

// The text ends so, letters compared without case.
bool EndsWithNoCase(std::string_view text, std::string_view end);

// Removes every file of the folder named so in any letter case.
void RemoveFilesNamedNoCase(const std::filesystem::path& folder, std::string_view name);

// The refusals of the campaign files.
std::string CampaignOpenError(std::string_view fileName);
