#pragma once
// A campaign context on a temporary folder with a fixed clock, recording the
// message boxes it shows.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/CampaignRecord.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    bool operator==(const ShownMessage&) const = default;
};

class CampaignTestFolder {
public:
    CampaignTestFolder()
        : context(folder.Path(), random)
    {
        random.SetTimeSource([] { return std::int64_t { 1700000000 }; });
        context.showMessage = [this](std::string_view text, std::string_view caption) {
            messages.push_back({ std::string(text), std::string(caption) });
        };
    }

    TempDir folder;
    LauncherRandom random;
    CampaignContext context;
    std::vector<ShownMessage> messages;
};

// The generator value that makes RollRandom(n) give k (1..n): the middle of
// the values that map to it.
inline int ValueForRoll(int k, int n)
{
    return static_cast<int>((static_cast<long long>(2 * k - 1) * 32767) / (2LL * n));
}

inline std::unique_ptr<UnitRecord> MakeUnit(std::string id, std::int32_t number = 0)
{
    auto unit = std::make_unique<UnitRecord>();
    unit->m_id = std::move(id);
    unit->m_number = number;
    return unit;
}

// The tree as text, one node a line, indented by depth: id, number, name,
// leader, strength, size, morale, window and successors.
inline void DescribeTree(const UnitRecord* node, int depth, std::string& out)
{
    for (; node; node = node->m_nextSibling.get()) {
        out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + node->m_id + " #"
            + std::to_string(node->m_number) + " '" + node->m_name + "' '" + node->m_leader + "' s"
            + std::to_string(node->m_strength) + "/" + std::to_string(node->m_fullStrength) + " z"
            + std::to_string(node->m_size) + " m" + std::to_string(node->m_morale) + " "
            + std::to_string(node->m_availableFrom) + "-" + std::to_string(node->m_availableTo) + " v"
            + std::to_string(node->m_oobValues[0]) + "," + std::to_string(node->m_oobValues[1]);
        for (const UnitRecord* next = node->m_nextSuccessor.get(); next; next = next->m_nextSuccessor.get())
            out += " +" + next->m_id + "'" + next->m_name + "'";
        out += '\n';
        DescribeTree(node->m_firstChild.get(), depth + 1, out);
    }
}

inline std::string DescribeTree(const UnitRecord* root)
{
    std::string out;
    DescribeTree(root, 0, out);
    return out;
}

// One decoration of "campaign.pdt": its ratio line and a name for every
// nation, "<word> <nation>".
inline std::string DecorationEntry(const char* ratio, const char* word)
{
    std::string text = std::string("1 ") + ratio + "\n";
    for (int nation = 0; nation < kDecorationNameLines; ++nation)
        text += std::string(word) + " " + std::to_string(nation) + "\n";
    return text;
}
