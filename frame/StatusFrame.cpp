#include "frame/StatusFrame.h"

#include <limits>

namespace {

// Description lines are at most this long, and at most this many are kept,
// so a hostile file cannot exhaust memory.
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxLines = 10000;

// One line up to '\n', cut at the longest line kept; false when the stream
// ended before a line break.
bool ReadTextLine(std::istream& in, std::string& line)
{
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (!in.good() || !buffer)
        return false;
    while (true) {
        const auto c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit | (line.empty() ? std::ios::failbit : std::ios::goodbit));
            return false;
        }
        if (c == '\n')
            return true;
        if (line.size() < kMaxLineLength)
            line.push_back(static_cast<char>(c));
    }
}

} // namespace

void CStatusFrame::ClearScenarioText()
{
    m_scenarioTitle.clear();
    m_scenarioSubtitle.clear();
    m_description.clear();
}

void CStatusFrame::ReadScenarioText(std::istream& in)
{
    ClearScenarioText();
    std::string rest;
    ReadTextLine(in, rest);
    ReadTextLine(in, m_scenarioTitle);
    ReadTextLine(in, m_scenarioSubtitle);
    std::string line;
    // A last line without its line break is not kept.
    while (m_description.size() < kMaxLines && ReadTextLine(in, line))
        m_description.push_back(line);
}

bool CStatusFrame::WriteScenarioText(std::ostream& out) const
{
    out << m_scenarioTitle << '\n' << m_scenarioSubtitle << '\n';
    for (const std::string& line : m_description)
        out << line << '\n';
    return static_cast<bool>(out);
}
