#include <gtest/gtest.h>

#include <vector>

#include "model/Lists.h"

namespace {

// Walks the list both ways and checks the shape every list relies on: the
// head's prev is the last node, the last node's next is null, and every other
// prev is the predecessor.
std::vector<int> CheckedValues(const RecordList<int>& list)
{
    std::vector<int> values;
    const RecordList<int>::Node* previous = nullptr;
    for (auto* node = list.Head(); node; node = node->next) {
        if (previous) {
            EXPECT_EQ(node->prev, previous);
        }
        values.push_back(node->value);
        previous = node;
    }
    if (list.Head()) {
        EXPECT_EQ(list.Head()->prev, previous) << "head's prev must be the last node";
        EXPECT_EQ(previous->next, nullptr);
    }
    return values;
}

using V = std::vector<int>;

} // namespace

TEST(ListsTest, AppendPrependInsertKeepTheShape)
{
    RecordList<int> list;
    auto* first = list.Append(2);
    EXPECT_EQ(first->prev, first) << "a lone node is its own prev";
    list.Append(3);
    list.Prepend(1);
    list.InsertBefore(list.Head(), 0);
    list.InsertBefore(list.Last(), 9);
    list.InsertBefore(nullptr, 4);
    EXPECT_EQ(CheckedValues(list), (V { 0, 1, 2, 9, 3, 4 }));
    EXPECT_EQ(list.Count(), 6u);
}

TEST(ListsTest, RemoveAtEveryPlaceKeepsTheShape)
{
    struct Case {
        int removed;
        V left;
    };
    for (const Case& c : { Case { 1, { 2, 3, 4 } }, Case { 2, { 1, 3, 4 } }, Case { 4, { 1, 2, 3 } } }) {
        RecordList<int> list;
        for (int v : { 1, 2, 3, 4 })
            list.Append(v);
        auto* node = list.Head();
        while (node->value != c.removed)
            node = node->next;
        list.Remove(node);
        EXPECT_EQ(CheckedValues(list), c.left) << "removing " << c.removed;
        list.Append(5);
        V expected = c.left;
        expected.push_back(5);
        EXPECT_EQ(CheckedValues(list), expected) << "append after removing " << c.removed;
    }
    RecordList<int> single;
    single.Remove(single.Append(7));
    EXPECT_TRUE(single.IsEmpty());
}

TEST(ListsTest, TakeOverMovesEveryNode)
{
    for (const V& mine : { V {}, V { 1 }, V { 1, 2 } }) {
        for (const V& theirs : { V {}, V { 3 }, V { 3, 4, 5 } }) {
            RecordList<int> a, b;
            for (int v : mine)
                a.Append(v);
            for (int v : theirs)
                b.Append(v);
            a.TakeOver(b);
            V all = mine;
            all.insert(all.end(), theirs.begin(), theirs.end());
            EXPECT_EQ(CheckedValues(a), all);
            EXPECT_TRUE(b.IsEmpty());
        }
    }
}

TEST(ListsTest, MoveToRelinksTheNodeItself)
{
    // Lists a = {1, 2, 3} and b = {7, 8}; a node of a moves before a node of
    // b or of a itself (0: to the end).
    struct Case {
        int moved;
        bool intoB;
        int before;
        V a;
        V b;
    };
    const Case cases[] = {
        { 1, true, 0, { 2, 3 }, { 7, 8, 1 } },
        { 2, true, 7, { 1, 3 }, { 2, 7, 8 } },
        { 3, true, 8, { 1, 2 }, { 7, 3, 8 } },
        { 1, false, 0, { 2, 3, 1 }, { 7, 8 } },
        { 3, false, 1, { 3, 1, 2 }, { 7, 8 } },
        { 2, false, 3, { 1, 2, 3 }, { 7, 8 } },
        { 2, false, 2, { 1, 2, 3 }, { 7, 8 } },
    };
    for (const Case& c : cases) {
        RecordList<int> a, b;
        for (int v : { 1, 2, 3 })
            a.Append(v);
        for (int v : { 7, 8 })
            b.Append(v);
        auto find = [](RecordList<int>& list, int value) {
            auto* node = list.Head();
            while (node && node->value != value)
                node = node->next;
            return node;
        };
        RecordList<int>& destination = c.intoB ? b : a;
        auto* node = find(a, c.moved);
        EXPECT_EQ(a.MoveTo(node, destination, c.before ? find(destination, c.before) : nullptr), node)
            << c.moved << " before " << c.before;
        EXPECT_EQ(CheckedValues(a), c.a) << c.moved << " before " << c.before;
        EXPECT_EQ(CheckedValues(b), c.b) << c.moved << " before " << c.before;
    }
    RecordList<int> lone, other;
    auto* node = lone.Append(5);
    lone.MoveTo(node, other);
    EXPECT_TRUE(lone.IsEmpty());
    EXPECT_EQ(CheckedValues(other), (V { 5 }));
}

TEST(ListsTest, CopiesAreDeepAndFreeEmpties)
{
    RecordList<int> a;
    a.Append(1);
    a.Append(2);
    RecordList<int> b(a);
    b.Head()->value = 7;
    b.AppendCopies(a);
    EXPECT_EQ(CheckedValues(a), (V { 1, 2 }));
    EXPECT_EQ(CheckedValues(b), (V { 7, 2, 1, 2 }));
    b.Free();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Last(), nullptr);
}

TEST(ListsTest, HexListsNameEachHexOnce)
{
    HexList hexes;
    AppendHexListNode(hexes, 3, 4);
    PrependHexListNode(hexes, 1, 2);
    EXPECT_NE(AppendHexListNodeOnce(hexes, 5, 6), nullptr);
    EXPECT_EQ(AppendHexListNodeOnce(hexes, 3, 4), nullptr);
    EXPECT_EQ(hexes.Count(), 3u);
    EXPECT_EQ(hexes.Head()->value.column, 1);
    EXPECT_EQ(hexes.Last()->value.row, 6);
}
