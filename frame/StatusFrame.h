#pragma once
// The Status menu's layer. It keeps the scenario's text (title, subtitle and
// description lines) that scenario and battle files carry after the battle;
// the pages that show it come with the status issue, and their commands show
// disabled until then.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "frame/ReinforceFrame.h"

class CStatusFrame : public CReinforceFrame {
public:
    CStatusFrame(platform::Services& services, FrameResources resources)
        : CReinforceFrame(services, std::move(resources))
    {
    }
    ~CStatusFrame() override = default;

    void ClearScenarioText();
    // Skips the rest of the current line, reads the title and subtitle
    // lines, then each further line ended by a line break.
    void ReadScenarioText(std::istream& in);
    // The title, the subtitle and each description line, each ended by '\n'.
    bool WriteScenarioText(std::ostream& out) const;

    const std::string& GetScenarioTitle() const { return m_scenarioTitle; }
    const std::string& GetScenarioSubtitle() const { return m_scenarioSubtitle; }
    const std::vector<std::string>& GetDescriptionLines() const { return m_description; }

private:
    std::string m_scenarioTitle;
    std::string m_scenarioSubtitle;
    std::vector<std::string> m_description;
};
