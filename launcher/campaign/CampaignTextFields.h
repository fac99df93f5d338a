#pragma once
// The small pieces the campaign file readers and writers share: numbers
// read strictly from a line, the tests that a text written as a line reads
// back as it is, and force trees written and read depth first with depths.

#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "launcher/campaign/CampaignRecord.h"
#include "model/TextScan.h"

// Reads each value in turn (blanks before each); false at the first that
// does not read or fit 32 bits.
template <class... T> bool ReadNumbers(TextCursor& cursor, T&... values) { return (cursor.ReadInt(values) && ...); }

// A number that must fit 16 bits.
inline bool ReadShort(TextCursor& cursor, std::int16_t& value)
{
    std::int32_t wide = 0;
    if (!cursor.ReadInt(wide) || wide < std::numeric_limits<std::int16_t>::min()
        || wide > std::numeric_limits<std::int16_t>::max())
        return false;
    value = static_cast<std::int16_t>(wide);
    return true;
}

// Only blanks are left.
inline bool AtLineEnd(TextCursor cursor)
{
    cursor.SkipBlanks();
    return cursor.AtEnd();
}

// The line holds exactly these numbers.
template <class... T> bool ReadLineOfNumbers(std::string_view line, T&... values)
{
    TextCursor cursor(line);
    return ReadNumbers(cursor, values...) && AtLineEnd(cursor);
}

// A text written as (part of) a line: no line end inside it.
inline bool IsWritableLine(std::string_view text)
{
    return text.find('\n') == std::string_view::npos && text.find('\r') == std::string_view::npos;
}

// A text written as a word: not empty, no blank inside.
inline bool IsWritableWord(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (IsBlankChar(c))
            return false;
    return true;
}

// Every line of the text is one the line reader takes.
inline bool AreLinesReadable(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end;
        if (length > kMaxTextLineLength)
            return false;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return true;
}

// The tree depth first: a unit, its subunits' subtree one deeper, then its
// next sibling; without recursion, as trees may be long. Stops when the
// visitor returns false, and returns false then.
template <class Visit> bool ForEachUnitDepthFirst(const UnitRecord* root, int rootDepth, Visit visit)
{
    std::vector<std::pair<const UnitRecord*, int>> stack;
    if (root)
        stack.emplace_back(root, rootDepth);
    while (!stack.empty()) {
        const auto [unit, depth] = stack.back();
        stack.pop_back();
        if (!visit(*unit, depth))
            return false;
        if (unit->m_nextSibling)
            stack.emplace_back(unit->m_nextSibling.get(), depth);
        if (unit->m_firstChild)
            stack.emplace_back(unit->m_firstChild.get(), depth + 1);
    }
    return true;
}

// Builds a force tree from units given depth first with their depths: a
// deeper unit is the subunit of the one before, an equal depth its sibling,
// a smaller one the sibling of the ancestor at that depth.
class UnitTreeBuilder {
public:
    explicit UnitTreeBuilder(std::int32_t rootDepth)
        : m_rootDepth(rootDepth)
        , m_previousDepth(rootDepth - 1)
    {
    }

    // The depth may come next: not above the root's, at most one deeper than
    // the unit before, and no second root.
    bool Accepts(std::int32_t depth) const
    {
        return depth >= m_rootDepth && depth <= m_previousDepth + 1 && !(m_root && depth == m_rootDepth);
    }
    // Places a unit of an accepted depth.
    void Place(std::unique_ptr<UnitRecord> unit, std::int32_t depth)
    {
        if (!m_root) {
            m_root = std::move(unit);
            m_previous = m_root.get();
        } else if (depth > m_previousDepth) {
            m_previous = AttachChildUnit(std::move(unit), *m_previous);
        } else {
            UnitRecord* reached = m_previous;
            for (std::int32_t climb = depth; climb < m_previousDepth; ++climb)
                reached = reached->m_parent;
            m_previous = AttachChildUnit(std::move(unit), *reached->m_parent);
        }
        m_previousDepth = depth;
    }
    std::unique_ptr<UnitRecord> Take() { return std::move(m_root); }

private:
    std::int32_t m_rootDepth;
    std::int32_t m_previousDepth;
    std::unique_ptr<UnitRecord> m_root;
    UnitRecord* m_previous = nullptr;
};

// A force written as one tree: its root has no siblings.
inline bool IsSingleRoot(const UnitRecord* force) { return !force || !force->m_nextSibling; }

// Room enough for most force texts, so that the text is not moved as it
// grows: a campaign's head and some 128 characters a record.
inline std::size_t EstimateTextSize(const UnitRecord* force)
{
    std::size_t records = 0;
    ForEachUnitDepthFirst(force, 0, [&records](const UnitRecord& unit, int) {
        records += 1 + static_cast<std::size_t>(CountSuccessors(unit));
        return true;
    });
    return 1024 + 128 * records;
}
