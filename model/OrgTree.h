#pragma once
// The organisation tree: every placed unit's place in a chain of command.
// Platoons (leaves, level 0) stand under companies, battalions, regiments and
// higher formations (levels 1..7, letters C B R G D K A). Each node has a
// decimal-coded code, an id that units refer to, a rating and a name.
//
// Organisation file, as the launcher writes it (numbers in decimal):
//   1                      version
//   57                     next free unit number
//   6 44                   month and year of the battle
//   B0120001 1 6 1st Bn    a node: letter+code id rating name
//       P01234 2 6 Rifles  children of a formation, indented
//       End                closes the formation (an empty line does too)
// The reader is line-oriented: leading blanks and tabs are skipped, a line
// whose first word is "End" closes the current formation (ignored at the top
// level), an empty or blank line closes it too, and the end of the file
// closes every open formation. The header numbers may share lines.

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "model/Lists.h"
#include "model/OwnedList.h"
#include "model/String.h"

class OrgNode;
class FormationNode;

// Nodes collected from a tree; the tree owns them.
using OrgNodeList = ValueList<OrgNode*>;
using ConstOrgNodeList = ValueList<const OrgNode*>;

// Formations may nest at most this deep under a top-level node; a deeper
// file is refused (real trees have eight levels at most).
inline constexpr int kMaxOrgDepth = 32;

class OrgNode {
public:
    explicit OrgNode(std::int32_t level = 0)
        : m_level(level)
    {
    }
    virtual ~OrgNode() = default;
    OrgNode(const OrgNode&) = delete;
    OrgNode& operator=(const OrgNode&) = delete;

    // Own rating; a formation passes it down to every node below it.
    virtual void SetRating(std::int32_t value);
    // Reads the node from the text of its line after the level letter and,
    // for a formation, its child lines up to its closing line. False when a
    // node's numbers do not parse, formations nest too deep, or the stream
    // fails other than by its end.
    virtual bool Read(std::string_view header, std::istream& in);
    // Writes the node's line after indent blanks; a formation then writes its
    // children indented 4 more and a closing "End" line at their indent.
    virtual void Write(std::ostream& out, int indent) const;
    virtual void ClearMark();
    // This node when its id matches, else the first match below it (depth
    // first, children in order), else null.
    OrgNode* FindById(std::int32_t id);
    const OrgNode* FindById(std::int32_t id) const;
    // Appends this node, then the nodes below it (parents before children).
    void CollectAll(OrgNodeList& list);
    void CollectAll(ConstOrgNodeList& list) const;
    // The lowest formations: a leaf appends itself unless it is a leader or
    // artillery; a formation appends itself when it has no sub-formation,
    // else each child's collection.
    void CollectLowest(OrgNodeList& list);
    void CollectLowest(ConstOrgNodeList& list) const;
    // A leader's code gets value (0..99; other values are taken modulo 100)
    // as its last two decimal digits; a formation passes it down.
    virtual void SetLeaderSuffix(std::int32_t value);
    // A leaf: category digit 4. A formation: some child is a leader.
    virtual bool IsLeader() const;
    // A formation: some child has a non-zero level.
    virtual bool HasSubFormation() const { return false; }

    virtual FormationNode* AsFormation() { return nullptr; }
    virtual const FormationNode* AsFormation() const { return nullptr; }

    // Category digit: (code / 100) % 10; 3 artillery, 4 leader.
    int GetCategory() const { return static_cast<int>((m_code / 100) % 10); }
    // (code / 1000) % 100 for a level-0 node, (code / 100000) % 100 otherwise.
    int GetNation() const;
    int GetSide() const;
    bool IsArtillery() const;
    // Sets the mark on this node and every ancestor.
    void MarkUpwards();
    // True when node is this node or lies below it.
    bool IsAncestorOf(const OrgNode* node) const;
    // A non-leader under a company (level 1) before which only leaders stand.
    bool IsFirstNonLeaderOfCompany() const;

    // Parses the text after the level letter: the code (digits, leading
    // zeros allowed), the id, the rating, one separator and the name to the
    // end. False, with the node unchanged, when a number does not parse.
    bool ReadHeader(std::string_view text);
    // The node's own line without its line feed: indent blanks, letter,
    // code, id, rating, name (a name ending in a carriage return gets one
    // more, which the reader takes off).
    std::string LineText(int indent) const;
    // False when the reader could not give the line back unchanged: the name
    // holds a line feed or the line is longer than a line may be.
    bool IsWritable(int indent) const;
    void WriteLine(std::ostream& out, int indent) const;

    std::int32_t m_level = 0;
    std::uint32_t m_code = 0;
    std::int32_t m_id = 0;
    std::int32_t m_rating = 6;
    String m_nodeName;
    // Observer: the formation that owns this node; null at the top level.
    FormationNode* m_parent = nullptr;
    std::uint8_t m_mark = 0;
};

class FormationNode : public OrgNode {
public:
    explicit FormationNode(std::int32_t level)
        : OrgNode(level)
    {
    }

    void SetRating(std::int32_t value) override;
    bool Read(std::string_view header, std::istream& in) override;
    void Write(std::ostream& out, int indent) const override;
    void ClearMark() override;
    void SetLeaderSuffix(std::int32_t value) override;
    bool IsLeader() const override;
    bool HasSubFormation() const override;
    FormationNode* AsFormation() override { return this; }
    const FormationNode* AsFormation() const override { return this; }

    // Takes ownership of the child and makes this formation its parent;
    // returns the child.
    template <typename Node> Node* AppendChild(std::unique_ptr<Node> child)
    {
        Node* node = child.get();
        AdoptChild(std::move(child));
        return node;
    }
    void DeleteChildren() { m_children.Clear(); }

    // The children in order; each belongs to this formation.
    OwnedList<OrgNode> m_children;

private:
    void AdoptChild(std::unique_ptr<OrgNode> child);
};

// A new node for a level letter: a formation for a non-zero level, else a leaf.
std::unique_ptr<OrgNode> NewOrgNode(char letter);

class OrgTree {
public:
    static constexpr std::int32_t kVersion = 1;
    // The data layer's texts; they name "main.org" whatever the file's name.
    static constexpr const char* kOpenError = "Error opening org file: main.org";
    static constexpr const char* kReadError = "Error reading from org file: main.org";

    OrgTree() = default;
    ~OrgTree() = default;
    OrgTree(const OrgTree&) = delete;
    OrgTree& operator=(const OrgTree&) = delete;
    OrgTree(OrgTree&& other) noexcept { Swap(other); }
    OrgTree& operator=(OrgTree&& other) noexcept;
    void Swap(OrgTree& other) noexcept;

    // Deletes every node; version 1, header values 0, 6, 48.
    void Clear();

    // Replaces the tree by the stream's content. On failure (a version other
    // than 1, header or node numbers that do not parse, formations nesting
    // too deep, an over-long line) the result is false and the tree is left
    // as it was.
    bool Read(std::istream& in);
    // Opens and reads the named file (case-insensitive name match): empty on
    // success or for an empty name (nothing read), else kOpenError or
    // kReadError.
    String ReadFile(std::string_view fileName);
    // Header and every top-level node at indent 0; true when the stream is
    // still good. A tree with a node that could not be read back unchanged
    // (IsWritable) is refused: false, nothing written, no file made.
    bool Write(std::ostream& out) const;
    bool WriteFile(std::string_view fileName) const;
    bool IsWritable() const;

    // The node with that id anywhere in the tree, or null.
    OrgNode* FindNode(std::int32_t id);
    const OrgNode* FindNode(std::int32_t id) const;
    void ClearMarks();
    void CollectAllNodes(OrgNodeList& list);
    void CollectAllNodes(ConstOrgNodeList& list) const;
    void CollectLowestFormations(OrgNodeList& list);
    void CollectLowestFormations(ConstOrgNodeList& list) const;

    // The top-level nodes in order; the tree owns them (and they own their
    // children).
    OwnedList<OrgNode> m_topNodes;
    std::int32_t m_version = kVersion;
    std::int32_t m_nextUnitNumber = 0; // the launcher's next free unit number
    std::int32_t m_battleMonth = 6;
    std::int32_t m_battleYear = 48; // also the column of the nation-percent table
};
