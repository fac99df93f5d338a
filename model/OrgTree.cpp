#include "model/OrgTree.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/DataFile.h"
#include "model/Geometry.h"
#include "model/TextScan.h"

namespace {

bool IsEndWord(std::string_view word)
{
    return word.size() == 3 && (word[0] == 'E' || word[0] == 'e') && (word[1] == 'N' || word[1] == 'n')
        && (word[2] == 'D' || word[2] == 'd');
}

// One line of the node part of the file, leading blanks and tabs skipped.
enum class OrgLine {
    Close, // blank, or first word "End"
    Node, // anything else: a node line
    End, // the end of the stream
    Failed, // an over-long line or a device error
};

OrgLine NextOrgLine(std::istream& in, std::string& line, std::string_view& text)
{
    if (!ReadDataLine(in, line))
        return in.eof() && !in.bad() ? OrgLine::End : OrgLine::Failed;
    text = TrimLeft(line);
    if (text.empty() || IsEndWord(FirstWord(text)))
        return OrgLine::Close;
    return OrgLine::Node;
}

} // namespace

std::unique_ptr<OrgNode> NewOrgNode(char letter)
{
    const int level = LevelFromLetter(letter);
    if (level != 0)
        return std::make_unique<FormationNode>(level);
    return std::make_unique<OrgNode>(0);
}

// ---- OrgNode ----

void OrgNode::SetRating(std::int32_t value) { m_rating = value; }

bool OrgNode::Read(std::string_view header, std::istream&) { return ReadHeader(header); }

void OrgNode::Write(std::ostream& out, int indent) const { WriteLine(out, indent); }

void OrgNode::ClearMark() { m_mark = 0; }

namespace {

// The walks below serve both the const and the mutable forms: Node is
// OrgNode or const OrgNode, and the children follow the formation's constness.

template <typename Node> Node* FindIn(Node* node, std::int32_t id)
{
    if (node->m_id == id)
        return node;
    if (auto* formation = node->AsFormation())
        for (Node* child : formation->m_children)
            if (Node* found = FindIn(child, id))
                return found;
    return nullptr;
}

template <typename Node, typename List> void CollectAllFrom(Node* node, List& list)
{
    list.Append(node);
    if (auto* formation = node->AsFormation())
        for (Node* child : formation->m_children)
            CollectAllFrom(child, list);
}

template <typename Node, typename List> void CollectLowestFrom(Node* node, List& list)
{
    auto* formation = node->AsFormation();
    if (!formation) {
        if (!node->IsLeader() && !node->IsArtillery())
            list.Append(node);
        return;
    }
    if (!formation->HasSubFormation()) {
        list.Append(node);
        return;
    }
    for (Node* child : formation->m_children)
        CollectLowestFrom(child, list);
}

} // namespace

OrgNode* OrgNode::FindById(std::int32_t id) { return FindIn(this, id); }
const OrgNode* OrgNode::FindById(std::int32_t id) const { return FindIn(this, id); }
void OrgNode::CollectAll(OrgNodeList& list) { CollectAllFrom(this, list); }
void OrgNode::CollectAll(ConstOrgNodeList& list) const { CollectAllFrom(this, list); }
void OrgNode::CollectLowest(OrgNodeList& list) { CollectLowestFrom(this, list); }
void OrgNode::CollectLowest(ConstOrgNodeList& list) const { CollectLowestFrom(this, list); }

void OrgNode::SetLeaderSuffix(std::int32_t value)
{
    if (GetCategory() != 4)
        return;
    // Only the last two digits are replaced, so the category digit and the
    // nation above it stay whatever value is given.
    const std::uint32_t suffix = static_cast<std::uint32_t>(((value % 100) + 100) % 100);
    m_code = m_code / 100 * 100 + suffix;
}

bool OrgNode::IsLeader() const { return GetCategory() == 4; }

int OrgNode::GetNation() const
{
    return static_cast<int>(m_level != 0 ? (m_code / 100000) % 100 : (m_code / 1000) % 100);
}

int OrgNode::GetSide() const { return DefaultSideOfNation(GetNation()); }

bool OrgNode::IsArtillery() const { return GetCategory() == 3; }

void OrgNode::MarkUpwards()
{
    for (OrgNode* node = this; node; node = node->m_parent)
        node->m_mark = 1;
}

bool OrgNode::IsAncestorOf(const OrgNode* node) const
{
    for (; node; node = node->m_parent)
        if (node == this)
            return true;
    return false;
}

bool OrgNode::IsFirstNonLeaderOfCompany() const
{
    if (IsLeader() || !m_parent || m_parent->m_level != 1)
        return false;
    for (const OrgNode* sibling : m_parent->m_children) {
        if (sibling == this)
            return true;
        if (!sibling->IsLeader())
            return false;
    }
    return false;
}

bool OrgNode::ReadHeader(std::string_view text)
{
    // The code follows its letter directly ("P01234"); a blank between them
    // is tolerated. Its digits are decimal whatever leading zeros it has, so
    // a code of all zeros is 0 and does not swallow the id after it.
    if (text.empty() || !IsDigitChar(text.front()))
        text = TrimLeft(text);
    std::uint32_t code = 0;
    std::int32_t id = 0;
    std::int32_t rating = 0;
    if (!TakeUnsigned(text, code) || !TakeInt(text, id) || !TakeInt(text, rating))
        return false;
    // One separator, then the name to the end of the line.
    if (!text.empty())
        text.remove_prefix(1);
    m_code = code;
    m_id = id;
    m_rating = rating;
    m_nodeName = String(std::string(text));
    return true;
}

std::string OrgNode::LineText(int indent) const
{
    std::string line(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
    line += LevelLetter(m_level);
    line += std::to_string(m_code) + ' ' + std::to_string(m_id) + ' ' + std::to_string(m_rating) + ' ';
    line += m_nodeName.str();
    // The line reader takes one carriage return off every line's end, so a
    // name ending in one gets a second one that the reader takes instead.
    if (!line.empty() && line.back() == '\r')
        line += '\r';
    return line;
}

bool OrgNode::IsWritable(int indent) const
{
    // A line feed would split the line; a longer line is refused by the
    // reader. Neither could give the name back as it is.
    const std::string line = LineText(indent);
    return line.find('\n') == std::string::npos
        && line.size() - (line.back() == '\r' ? 1 : 0) <= String::kMaxLineLength;
}

void OrgNode::WriteLine(std::ostream& out, int indent) const { out << LineText(indent) << '\n'; }

// ---- FormationNode ----

void FormationNode::SetRating(std::int32_t value)
{
    OrgNode::SetRating(value);
    for (OrgNode* child : m_children)
        child->SetRating(value);
}

bool FormationNode::Read(std::string_view header, std::istream& in)
{
    DeleteChildren();
    if (!ReadHeader(header))
        return false;
    // The children are read with a stack of open formations rather than by
    // recursion, so the nesting a file can force on us stays bounded.
    std::vector<FormationNode*> open { this };
    std::string line;
    std::string_view text;
    while (!open.empty()) {
        switch (NextOrgLine(in, line, text)) {
        case OrgLine::End:
            return true; // the end of the file closes every open formation
        case OrgLine::Failed:
            return false;
        case OrgLine::Close:
            open.pop_back();
            break;
        case OrgLine::Node: {
            std::unique_ptr<OrgNode> child = NewOrgNode(text.front());
            if (!child->ReadHeader(text.substr(1)))
                return false;
            FormationNode* formation = child->AsFormation();
            open.back()->AppendChild(std::move(child));
            if (formation) {
                if (static_cast<int>(open.size()) >= kMaxOrgDepth)
                    return false;
                open.push_back(formation);
            }
            break;
        }
        }
    }
    return true;
}

void FormationNode::Write(std::ostream& out, int indent) const
{
    WriteLine(out, indent);
    for (const OrgNode* child : m_children)
        child->Write(out, indent + 4);
    out << std::string(static_cast<std::size_t>(std::max(indent, 0) + 4), ' ') << "End\n";
}

void FormationNode::ClearMark()
{
    OrgNode::ClearMark();
    for (OrgNode* child : m_children)
        child->ClearMark();
}

void FormationNode::SetLeaderSuffix(std::int32_t value)
{
    OrgNode::SetLeaderSuffix(value);
    for (OrgNode* child : m_children)
        child->SetLeaderSuffix(value);
}

bool FormationNode::IsLeader() const
{
    for (const OrgNode* child : m_children)
        if (child->IsLeader())
            return true;
    return false;
}

bool FormationNode::HasSubFormation() const
{
    for (const OrgNode* child : m_children)
        if (child->m_level != 0)
            return true;
    return false;
}

void FormationNode::AdoptChild(std::unique_ptr<OrgNode> child)
{
    child->m_parent = this;
    m_children.Append(std::move(child));
}

// ---- OrgTree ----

OrgTree& OrgTree::operator=(OrgTree&& other) noexcept
{
    if (this != &other) {
        OrgTree old(std::move(*this));
        Swap(other);
    }
    return *this;
}

void OrgTree::Swap(OrgTree& other) noexcept
{
    std::swap(m_topNodes, other.m_topNodes);
    std::swap(m_version, other.m_version);
    std::swap(m_nextUnitNumber, other.m_nextUnitNumber);
    std::swap(m_battleMonth, other.m_battleMonth);
    std::swap(m_battleYear, other.m_battleYear);
}

void OrgTree::Clear()
{
    m_topNodes.Clear();
    m_version = kVersion;
    m_nextUnitNumber = 0;
    m_battleMonth = 6;
    m_battleYear = 48;
}

bool OrgTree::Read(std::istream& in)
{
    // Everything is read into a fresh tree that replaces this one only when
    // the whole file read well: units never see a half-read tree.
    OrgTree fresh;

    // Header: the version, the next unit number, month and year, on one line
    // or several; anything after the fourth number on its line is skipped.
    std::int32_t header[4] = {};
    int count = 0;
    std::string line;
    while (count < 4) {
        if (!ReadDataLine(in, line))
            return false;
        std::string_view text = TrimLeft(line);
        while (count < 4 && !text.empty()) {
            if (!TakeInt(text, header[count]))
                return false;
            if (!text.empty() && !IsBlankChar(text.front()))
                return false;
            if (count == 0 && header[0] != kVersion)
                return false;
            ++count;
            text = TrimLeft(text);
        }
    }
    fresh.m_version = header[0];
    fresh.m_nextUnitNumber = header[1];
    fresh.m_battleMonth = header[2];
    fresh.m_battleYear = header[3];

    std::string_view text;
    for (;;) {
        const OrgLine kind = NextOrgLine(in, line, text);
        if (kind == OrgLine::End)
            break;
        if (kind == OrgLine::Failed)
            return false;
        if (kind == OrgLine::Close)
            continue; // a stray closing or empty line at the top level
        std::unique_ptr<OrgNode> node = NewOrgNode(text.front());
        if (!node->Read(text.substr(1), in))
            return false;
        fresh.m_topNodes.Append(std::move(node));
    }
    Swap(fresh);
    return true;
}

String OrgTree::ReadFile(std::string_view fileName)
{
    if (fileName.empty())
        return String();
    std::ifstream in = OpenDataFile(fileName);
    if (!in.is_open())
        return String(kOpenError);
    if (!Read(in))
        return String(kReadError);
    return String();
}

bool OrgTree::IsWritable() const
{
    ConstOrgNodeList all;
    CollectAllNodes(all);
    for (const OrgNode* node : all) {
        int depth = 0;
        for (const OrgNode* parent = node->m_parent; parent; parent = parent->m_parent)
            ++depth;
        if (!node->IsWritable(4 * depth))
            return false;
    }
    return true;
}

bool OrgTree::Write(std::ostream& out) const
{
    if (!IsWritable())
        return false;
    out << m_version << '\n' << m_nextUnitNumber << '\n' << m_battleMonth << ' ' << m_battleYear << '\n';
    for (const OrgNode* node : m_topNodes)
        node->Write(out, 0);
    return static_cast<bool>(out);
}

bool OrgTree::WriteFile(std::string_view fileName) const
{
    if (!IsWritable())
        return false;
    std::ofstream out { std::string(NormalizeStoredName(fileName)), std::ios::binary | std::ios::trunc };
    if (!out.is_open())
        return false;
    if (!Write(out))
        return false;
    out.close();
    return static_cast<bool>(out);
}

OrgNode* OrgTree::FindNode(std::int32_t id) { return const_cast<OrgNode*>(std::as_const(*this).FindNode(id)); }

const OrgNode* OrgTree::FindNode(std::int32_t id) const
{
    for (const OrgNode* node : m_topNodes)
        if (const OrgNode* found = node->FindById(id))
            return found;
    return nullptr;
}

void OrgTree::ClearMarks()
{
    for (OrgNode* node : m_topNodes)
        node->ClearMark();
}

void OrgTree::CollectAllNodes(OrgNodeList& list)
{
    for (OrgNode* node : m_topNodes)
        node->CollectAll(list);
}

void OrgTree::CollectAllNodes(ConstOrgNodeList& list) const
{
    for (const OrgNode* node : m_topNodes)
        node->CollectAll(list);
}

void OrgTree::CollectLowestFormations(OrgNodeList& list)
{
    for (OrgNode* node : m_topNodes)
        node->CollectLowest(list);
}

void OrgTree::CollectLowestFormations(ConstOrgNodeList& list) const
{
    for (const OrgNode* node : m_topNodes)
        node->CollectLowest(list);
}
