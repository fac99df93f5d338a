#include "model/OrgTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "tests/TestFiles.h"

namespace {

// One line per node, depth first: depth, letter, code, id, rating, name,
// and "/" for a formation (so a childless formation differs from a leaf).
void Dump(const OrgNode* node, int depth, std::ostringstream& out)
{
    out << depth << ' ' << LevelLetter(node->m_level) << node->m_code << ' ' << node->m_id << ' ' << node->m_rating
        << " [" << node->m_nodeName << "]" << (node->AsFormation() ? "/" : "") << '\n';
    if (const FormationNode* formation = node->AsFormation()) {
        for (const OrgNode* child : formation->m_children) {
            EXPECT_EQ(child->m_parent, formation);
            Dump(child, depth + 1, out);
        }
    }
}

std::string Dump(const OrgTree& tree)
{
    std::ostringstream out;
    out << "header " << tree.m_version << ' ' << tree.m_nextUnitNumber << ' ' << tree.m_battleMonth << ' '
        << tree.m_battleYear << '\n';
    for (const OrgNode* node : tree.m_topNodes) {
        EXPECT_EQ(node->m_parent, nullptr);
        Dump(node, 0, out);
    }
    return out.str();
}

bool ReadText(OrgTree& tree, const std::string& text)
{
    std::istringstream in(text);
    return tree.Read(in);
}

std::string WriteText(const OrgTree& tree)
{
    std::ostringstream out;
    EXPECT_TRUE(tree.Write(out));
    return out.str();
}

std::vector<std::int32_t> Ids(const OrgNodeList& list)
{
    std::vector<std::int32_t> ids;
    for (const OrgNode* node : list)
        ids.push_back(node->m_id);
    return ids;
}

const char* const kHeader = "1\n57\n6 44\n";

} // namespace

TEST(OrgTreeRead, GeneratedBattleFileReadsWhole)
{
    OrgTree tree;
    ASSERT_TRUE(ReadText(tree, ReadFixture("org/generated.org")));
    EXPECT_EQ(Dump(tree),
        "header 1 57 6 44\n"
        "0 B120001 101 6 [1st Battalion]/\n"
        "1 C120100 102 6 [A Company]/\n"
        "2 P1401 103 7 [Company HQ]\n"
        "2 P1234 104 6 [1st Platoon]\n"
        "2 P1234 105 6 [2nd Platoon]\n"
        "1 C120200 106 6 [B Company]/\n"
        "1 P2301 107 5 [Gun Section]\n"
        "0 R340002 201 5 [Enemy Regiment]/\n"
        "0 P3510 301 6 [Boats]\n"
        "0 P3510 302 6 [Boats]\n");
    const OrgNode* regiment = tree.FindNode(201);
    ASSERT_NE(regiment, nullptr);
    ASSERT_NE(regiment->AsFormation(), nullptr);
    EXPECT_TRUE(regiment->AsFormation()->m_children.IsEmpty());
    EXPECT_FALSE(regiment->HasSubFormation());
    EXPECT_TRUE(tree.FindNode(101)->HasSubFormation());
}

TEST(OrgTreeRead, LayoutsTheReaderTolerates)
{
    struct Case {
        const char* name;
        std::string text;
        const char* dump;
    };
    const Case cases[] = {
        { "children without indent",
            std::string(kHeader) + "C1100 1 6 Co\nP1234 2 6 Pl\nP1235 3 6 P2\nEnd\nP9 4 6 Top\n",
            "0 C1100 1 6 [Co]/\n1 P1234 2 6 [Pl]\n1 P1235 3 6 [P2]\n0 P9 4 6 [Top]\n" },
        { "tabs and one-blank indent", std::string(kHeader) + "\tC1100 1 6 Co\n\t P1234 2 6 Pl\n \t End\n",
            "0 C1100 1 6 [Co]/\n1 P1234 2 6 [Pl]\n" },
        { "empty line closes only the inner formation",
            std::string(kHeader) + "B1 1 6 Bn\n    C2 2 6 Co\n        P3 3 6 Pl\n\n    P4 4 6 Bn platoon\n    End\n",
            "0 B1 1 6 [Bn]/\n1 C2 2 6 [Co]/\n2 P3 3 6 [Pl]\n1 P4 4 6 [Bn platoon]\n" },
        { "blank line closes too", std::string(kHeader) + "C2 2 6 Co\n    P3 3 6 Pl\n  \t \nP4 4 6 Top\n",
            "0 C2 2 6 [Co]/\n1 P3 3 6 [Pl]\n0 P4 4 6 [Top]\n" },
        { "end of file closes every open formation", std::string(kHeader) + "A1 1 6 Army\n K2 2 6 Corps\n  P3 3 6 Pl\n",
            "0 A1 1 6 [Army]/\n1 K2 2 6 [Corps]/\n2 P3 3 6 [Pl]\n" },
        { "End and empty lines at the top level are ignored",
            std::string(kHeader) + "End\n\nP1 1 6 One\n   End\nEND\nP2 2 6 Two\n", "0 P1 1 6 [One]\n0 P2 2 6 [Two]\n" },
        { "last line without line feed", std::string(kHeader) + "C1 1 6 Co\n P2 2 6 Last one",
            "0 C1 1 6 [Co]/\n1 P2 2 6 [Last one]\n" },
        { "carriage returns", "1\r\n57\r\n6 44\r\nC1 1 6 Co\r\n P2 2 6 Pl\r\n End\r\n",
            "0 C1 1 6 [Co]/\n1 P2 2 6 [Pl]\n" },
        { "codes of zeros and blanks before the code", std::string(kHeader) + "P000 5 6 Zero\nP 0012 6 -1 Spaced\n",
            "0 P0 5 6 [Zero]\n0 P12 6 -1 [Spaced]\n" },
        { "name keeps its inner blanks and may be missing",
            std::string(kHeader) + "P1 1 6  two  blanks \nP2 2 6\nP3 3 6 \n",
            "0 P1 1 6 [ two  blanks ]\n0 P2 2 6 []\n0 P3 3 6 []\n" },
        { "other letters are leaves, a word after End is ignored",
            std::string(kHeader) + "G1 1 6 Group\n X2 2 6 Odd\n End of group\n",
            "0 G1 1 6 [Group]/\n1 P2 2 6 [Odd]\n" },
        { "header on one line with more after it", "1 0 6 48 extra words\nP1 1 6 One\n", "0 P1 1 6 [One]\n" },
        { "header only", "1\n0\n6 48\n", "" },
    };
    for (const Case& c : cases) {
        OrgTree tree;
        ASSERT_TRUE(ReadText(tree, c.text)) << c.name;
        std::string dump = Dump(tree);
        dump.erase(0, dump.find('\n') + 1);
        EXPECT_EQ(dump, c.dump) << c.name;
    }
}

TEST(OrgTreeRead, BadFilesAreRefusedAndTheOldTreeStays)
{
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // a literal prepended to a temporary string.
    auto company = [](int i) {
        const std::string number = std::to_string(i);
        std::string line = "C";
        line.append(number).append(" ").append(number).append(" 6 Co\n");
        return line;
    };
    std::string deep = kHeader;
    for (int i = 0; i <= kMaxOrgDepth; ++i)
        deep += company(i);
    std::string deepEnough = kHeader;
    for (int i = 0; i < kMaxOrgDepth; ++i)
        deepEnough += company(i);

    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        { "empty file", "" },
        { "version 2", "2\n0\n6 48\nP1 1 6 One\n" },
        { "header cut short", "1\n57\n" },
        { "header not a number", "1\n5x\n6 44\n" },
        { "header over 32 bits", "1\n4294967296\n6 44\n" },
        { "code not a number", std::string(kHeader) + "Pabc 1 6 Bad\n" },
        { "code negative", std::string(kHeader) + "P-5 1 6 Bad\n" },
        { "code over 32 bits", std::string(kHeader) + "P4294967296 1 6 Bad\n" },
        { "id missing", std::string(kHeader) + "P1234\n" },
        { "id not a number", std::string(kHeader) + "P1234 one 6 Bad\n" },
        { "id over 32 bits", std::string(kHeader) + "P1234 2147483648 6 Bad\n" },
        { "rating not a number", std::string(kHeader) + "P1234 1 good name\n" },
        { "bad child after good nodes", std::string(kHeader) + "P1 1 6 Good\nC2 2 6 Co\n    P3 x 6 Bad\n    End\n" },
        { "over-long line", std::string(kHeader) + "P1 1 6 " + std::string(1100, 'n') + "\n" },
        { "over-long header line", std::string(1100, '1') + "\n" },
        { "formations nested too deep", deep },
    };
    for (const Case& c : cases) {
        OrgTree tree;
        ASSERT_TRUE(ReadText(tree, std::string(kHeader) + "C7 7 6 Kept\n P8 8 6 Kept too\n End\n"));
        const OrgNode* kept = tree.FindNode(8);
        ASSERT_NE(kept, nullptr);
        EXPECT_FALSE(ReadText(tree, c.text)) << c.name;
        EXPECT_EQ(tree.FindNode(8), kept) << c.name;
        EXPECT_EQ(tree.m_nextUnitNumber, 57) << c.name;
        EXPECT_EQ(tree.m_topNodes.Count(), 1u) << c.name;
    }
    OrgTree tree;
    EXPECT_TRUE(ReadText(tree, deepEnough));
    EXPECT_NE(tree.FindNode(kMaxOrgDepth - 1), nullptr);
}

TEST(OrgTreeRead, FileErrorsUseTheDataLayerTexts)
{
    TempDir dir;
    dir.Write("Battle.ORG", std::string(kHeader) + "P1 1 6 One\n");
    dir.Write("bad.org", std::string(kHeader) + "P1 x 6 One\n");
    OrgTree tree;
    EXPECT_EQ(tree.ReadFile("").str(), "");
    EXPECT_TRUE(tree.m_topNodes.IsEmpty());
    EXPECT_EQ(tree.ReadFile(dir.Path("battle.org").string()).str(), "");
    EXPECT_NE(tree.FindNode(1), nullptr);
    EXPECT_EQ(tree.ReadFile(dir.Path("missing.org").string()).str(), "Error opening org file: main.org");
    EXPECT_EQ(tree.ReadFile(dir.Path("bad.org").string()).str(), "Error reading from org file: main.org");
    EXPECT_NE(tree.FindNode(1), nullptr);
}

TEST(OrgTreeWrite, WriterFormatAndRoundTrip)
{
    OrgTree tree;
    tree.m_nextUnitNumber = 12;
    tree.m_battleMonth = 9;
    tree.m_battleYear = 44;
    auto* battalion = tree.m_topNodes.Append(std::make_unique<FormationNode>(2))->AsFormation();
    battalion->m_code = 120001;
    battalion->m_id = 1;
    battalion->m_rating = 6;
    battalion->m_nodeName = "1st Bn";
    auto* company = battalion->AppendChild(std::make_unique<FormationNode>(1));
    company->m_code = 120100;
    company->m_id = 2;
    company->m_nodeName = "A Co";
    auto* platoon = company->AppendChild(std::make_unique<OrgNode>(0));
    platoon->m_code = 1234;
    platoon->m_id = 3;
    platoon->m_rating = 7;
    platoon->m_nodeName = "Rifles, 1st";
    auto* empty = battalion->AppendChild(std::make_unique<FormationNode>(1));
    empty->m_code = 120200;
    empty->m_id = 4;
    empty->m_nodeName = "B Co";
    OrgNode* boat = tree.m_topNodes.Append(std::make_unique<OrgNode>(0));
    boat->m_code = 3510;
    boat->m_id = 5;
    boat->m_nodeName = "Boats";

    const std::string written = WriteText(tree);
    EXPECT_EQ(written,
        "1\n12\n9 44\n"
        "B120001 1 6 1st Bn\n"
        "    C120100 2 6 A Co\n"
        "        P1234 3 7 Rifles, 1st\n"
        "        End\n"
        "    C120200 4 6 B Co\n"
        "        End\n"
        "    End\n"
        "P3510 5 6 Boats\n");

    OrgTree reread;
    ASSERT_TRUE(ReadText(reread, written));
    EXPECT_EQ(Dump(reread), Dump(tree));
    EXPECT_EQ(WriteText(reread), written);

    // The generated battle's file, written and read again, gives the same tree.
    OrgTree generated;
    ASSERT_TRUE(ReadText(generated, ReadFixture("org/generated.org")));
    TempDir dir;
    ASSERT_TRUE(generated.WriteFile(dir.Path("main.org").string()));
    OrgTree again;
    EXPECT_EQ(again.ReadFile(dir.Path("main.org").string()).str(), "");
    EXPECT_EQ(Dump(again), Dump(generated));
    EXPECT_FALSE(generated.WriteFile(dir.Path("no-such-folder/main.org").string()));
}

TEST(OrgTreeWrite, NamesComeBackUnchangedOrTheWriteIsRefused)
{
    // A line ending "\r\r\n" keeps one carriage return in the name, which
    // used to be lost by each write and read.
    const std::string text = "1 0 6 44\n"
                             "B120001 1 6 Battalion\r\r\n"
                             "    P1234 2 6 Rifles\r\n"
                             "    End\n";
    OrgTree tree;
    ASSERT_TRUE(ReadText(tree, text));
    ASSERT_EQ(tree.FindNode(1)->m_nodeName.str(), "Battalion\r");
    ASSERT_EQ(tree.FindNode(2)->m_nodeName.str(), "Rifles");

    const std::string kept[] = { "Battalion\r", "two\r\r", "a\rb", "", " lead", "trail  ", "\r",
        std::string(String::kMaxLineLength - std::string("    P1234 2 6 ").size(), 'x') };
    for (const std::string& name : kept) {
        tree.FindNode(2)->m_nodeName = name;
        OrgTree again;
        ASSERT_TRUE(ReadText(again, WriteText(tree))) << name.size();
        EXPECT_EQ(again.FindNode(2)->m_nodeName.str(), name) << name.size();
        EXPECT_EQ(Dump(again), Dump(tree)) << name.size();
    }

    // A name the reader could not give back: nothing is written, no file made.
    const std::string refused[] = { "two\nlines", "end\n",
        std::string(String::kMaxLineLength - std::string("    P1234 2 6 ").size() + 1, 'x') };
    TempDir dir;
    for (const std::string& name : refused) {
        tree.FindNode(2)->m_nodeName = name;
        std::ostringstream out;
        EXPECT_FALSE(tree.Write(out)) << name.size();
        EXPECT_EQ(out.str(), "") << name.size();
        EXPECT_FALSE(tree.WriteFile(dir.Path("main.org").string())) << name.size();
        EXPECT_FALSE(std::filesystem::exists(dir.Path("main.org"))) << name.size();
    }
}

TEST(OrgTreeTest, ClearAndMoveKeepTheHeaderDefaults)
{
    OrgTree tree;
    EXPECT_EQ(Dump(tree), "header 1 0 6 48\n");
    ASSERT_TRUE(ReadText(tree, ReadFixture("org/generated.org")));
    OrgTree moved(std::move(tree));
    EXPECT_EQ(Dump(tree), "header 1 0 6 48\n");
    EXPECT_NE(moved.FindNode(105), nullptr);
    tree = std::move(moved);
    EXPECT_NE(tree.FindNode(105), nullptr);
    tree.Clear();
    EXPECT_EQ(Dump(tree), "header 1 0 6 48\n");
    EXPECT_EQ(tree.FindNode(105), nullptr);
}

TEST(OrgTreeQueries, WalksOverTheGeneratedTree)
{
    OrgTree tree;
    ASSERT_TRUE(ReadText(tree, ReadFixture("org/generated.org")));

    OrgNodeList all;
    tree.CollectAllNodes(all);
    EXPECT_EQ(Ids(all), (std::vector<std::int32_t> { 101, 102, 103, 104, 105, 106, 107, 201, 301, 302 }));

    // A company of platoons is a lowest formation; the empty company and the
    // childless regiment count too; the leaf beside the companies is taken
    // unless it is a leader or artillery (107 has category 3).
    OrgNodeList lowest;
    tree.CollectLowestFormations(lowest);
    EXPECT_EQ(Ids(lowest), (std::vector<std::int32_t> { 102, 106, 201, 301, 302 }));

    OrgNode* headquarters = tree.FindNode(103);
    OrgNode* firstPlatoon = tree.FindNode(104);
    OrgNode* secondPlatoon = tree.FindNode(105);
    OrgNode* company = tree.FindNode(102);
    OrgNode* battalion = tree.FindNode(101);
    OrgNode* gun = tree.FindNode(107);
    ASSERT_TRUE(headquarters && firstPlatoon && secondPlatoon && company && battalion && gun);
    EXPECT_EQ(tree.FindNode(999), nullptr);

    EXPECT_TRUE(headquarters->IsLeader());
    EXPECT_TRUE(company->IsLeader()); // through its headquarters
    EXPECT_TRUE(battalion->IsLeader());
    EXPECT_FALSE(tree.FindNode(106)->IsLeader());
    EXPECT_TRUE(gun->IsArtillery());
    EXPECT_FALSE(headquarters->IsFirstNonLeaderOfCompany());
    EXPECT_TRUE(firstPlatoon->IsFirstNonLeaderOfCompany());
    EXPECT_FALSE(secondPlatoon->IsFirstNonLeaderOfCompany());
    EXPECT_FALSE(gun->IsFirstNonLeaderOfCompany()); // its parent is a battalion
    EXPECT_FALSE(tree.FindNode(301)->IsFirstNonLeaderOfCompany()); // no parent

    EXPECT_TRUE(battalion->IsAncestorOf(secondPlatoon));
    EXPECT_TRUE(company->IsAncestorOf(company));
    EXPECT_FALSE(secondPlatoon->IsAncestorOf(company));
    EXPECT_FALSE(tree.FindNode(201)->IsAncestorOf(secondPlatoon));
    EXPECT_FALSE(company->IsAncestorOf(nullptr));

    secondPlatoon->MarkUpwards();
    EXPECT_EQ(secondPlatoon->m_mark, 1);
    EXPECT_EQ(company->m_mark, 1);
    EXPECT_EQ(battalion->m_mark, 1);
    EXPECT_EQ(firstPlatoon->m_mark, 0);
    tree.ClearMarks();
    for (const OrgNode* node : all)
        EXPECT_EQ(node->m_mark, 0) << node->m_id;

    company->SetRating(3);
    EXPECT_EQ(company->m_rating, 3);
    EXPECT_EQ(headquarters->m_rating, 3);
    EXPECT_EQ(secondPlatoon->m_rating, 3);
    EXPECT_EQ(battalion->m_rating, 6);
    EXPECT_EQ(gun->m_rating, 5);

    battalion->SetLeaderSuffix(57);
    EXPECT_EQ(headquarters->m_code, 1457u);
    EXPECT_EQ(firstPlatoon->m_code, 1234u); // not a leader
    headquarters->SetLeaderSuffix(123); // only two digits: the category stays
    EXPECT_EQ(headquarters->m_code, 1423u);
    headquarters->SetLeaderSuffix(-1);
    EXPECT_EQ(headquarters->m_code, 1499u);
    EXPECT_TRUE(headquarters->IsLeader());
}

TEST(OrgTreeQueries, NationDigitsDependOnTheLevel)
{
    struct Case {
        char letter;
        std::uint32_t code;
        int nation;
        int category;
    };
    const Case cases[] = {
        { 'P', 1234, 1, 2 },
        { 'P', 22401, 22, 4 },
        { 'P', 1512345, 12, 3 },
        { 'C', 1512345, 15, 3 },
        { 'B', 120001, 1, 0 },
        { 'A', 2800000, 28, 0 },
    };
    for (const Case& c : cases) {
        const std::unique_ptr<OrgNode> node = NewOrgNode(c.letter);
        node->m_code = c.code;
        EXPECT_EQ(node->m_level, LevelFromLetter(c.letter)) << c.letter << c.code;
        EXPECT_EQ(node->AsFormation() != nullptr, c.letter != 'P') << c.letter << c.code;
        EXPECT_EQ(node->GetNation(), c.nation) << c.letter << c.code;
        EXPECT_EQ(node->GetCategory(), c.category) << c.letter << c.code;
        EXPECT_EQ(node->GetSide(), DefaultSideOfNation(c.nation)) << c.letter << c.code;
    }
}

TEST(OrgTreeQueries, LeafLeaderOrArtilleryCollectsNothing)
{
    for (std::uint32_t code : { 1401u, 1301u }) {
        OrgNode leaf(0);
        leaf.m_code = code;
        OrgNodeList list;
        leaf.CollectLowest(list);
        EXPECT_TRUE(list.IsEmpty()) << code;
        leaf.CollectAll(list);
        EXPECT_EQ(list.Count(), 1u);
    }
}
