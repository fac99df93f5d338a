#pragma once
// The record lists of the battle model. Every list has one shape: a head
// pointer (null when empty), nodes holding their record by value, the last
// node's next is null, and the first node's prev is the last node so that
// appending needs no walk. The list owns its nodes: only its own operations
// make, link and free them (a node changes lists through MoveTo). A node
// pointer a caller holds is an observer, valid until the node is removed.

#include <cstddef>
#include <utility>

#include "model/HexSide.h"

template <typename T> struct ListNode {
    T value;
    ListNode* next = nullptr;
    ListNode* prev = nullptr;

    explicit ListNode(const T& v)
        : value(v)
        , prev(this)
    {
    }
    explicit ListNode(T&& v)
        : value(std::move(v))
        , prev(this)
    {
    }
};

template <typename T> class RecordList {
public:
    using Node = ListNode<T>;

    RecordList() = default;
    RecordList(const RecordList& other) { AppendCopies(other); }
    RecordList(RecordList&& other) noexcept
        : m_head(std::exchange(other.m_head, nullptr))
    {
    }
    RecordList& operator=(RecordList other) noexcept
    {
        std::swap(m_head, other.m_head);
        return *this;
    }
    ~RecordList() { Free(); }

    Node* Head() { return m_head; }
    const Node* Head() const { return m_head; }
    Node* Last() { return m_head ? m_head->prev : nullptr; }
    const Node* Last() const { return m_head ? m_head->prev : nullptr; }
    bool IsEmpty() const { return m_head == nullptr; }

    std::size_t Count() const
    {
        std::size_t n = 0;
        for (const Node* node = m_head; node; node = node->next)
            ++n;
        return n;
    }

    Node* Append(T value) { return Link(new Node(std::move(value)), nullptr); }
    Node* Prepend(T value) { return Link(new Node(std::move(value)), m_head); }
    // Inserts before the given node; a null node appends.
    Node* InsertBefore(Node* at, T value) { return Link(new Node(std::move(value)), at); }

    void AppendCopies(const RecordList& other)
    {
        for (const Node* node = other.m_head; node; node = node->next)
            Append(node->value);
    }

    // Moves every node of the other list to the end of this one; the other
    // list is left empty. No record is copied.
    void TakeOver(RecordList& other)
    {
        if (&other == this || !other.m_head)
            return;
        if (!m_head) {
            m_head = std::exchange(other.m_head, nullptr);
            return;
        }
        Node* otherHead = std::exchange(other.m_head, nullptr);
        Node* otherLast = otherHead->prev;
        Node* last = m_head->prev;
        last->next = otherHead;
        otherHead->prev = last;
        m_head->prev = otherLast;
    }

    // Moves a node of this list into the destination (which may be this
    // list), before the given node there; a null node appends. No record is
    // copied; the node stays valid. Returns it.
    Node* MoveTo(Node* node, RecordList& destination, Node* before = nullptr)
    {
        if (node == before)
            return node;
        return destination.Link(Detach(node), before);
    }

    // Unlinks and deletes the node; returns the node that followed it.
    Node* Remove(Node* node)
    {
        Node* following = node->next;
        delete Detach(node);
        return following;
    }

    void Free()
    {
        Node* node = m_head;
        m_head = nullptr;
        while (node) {
            Node* following = node->next;
            delete node;
            node = following;
        }
    }

    // Range-for over the records, head first.
    template <typename NodePtr, typename Ref> class Iter {
    public:
        explicit Iter(NodePtr node)
            : m_node(node)
        {
        }
        Ref operator*() const { return m_node->value; }
        Iter& operator++()
        {
            m_node = m_node->next;
            return *this;
        }
        bool operator==(const Iter& other) const { return m_node == other.m_node; }

    private:
        NodePtr m_node;
    };
    auto begin() { return Iter<Node*, T&>(m_head); }
    auto end() { return Iter<Node*, T&>(nullptr); }
    auto begin() const { return Iter<const Node*, const T&>(m_head); }
    auto end() const { return Iter<const Node*, const T&>(nullptr); }

private:
    // Takes the node out of the list; it then belongs to no list until it is
    // linked again or deleted.
    Node* Detach(Node* node)
    {
        if (node == m_head) {
            m_head = node->next;
            if (m_head)
                m_head->prev = node->prev;
        } else {
            node->prev->next = node->next;
            if (node->next)
                node->next->prev = node->prev;
            else
                m_head->prev = node->prev;
        }
        node->next = nullptr;
        node->prev = node;
        return node;
    }

    Node* Link(Node* node, Node* before)
    {
        if (!m_head) {
            m_head = node;
        } else if (!before) {
            Node* last = m_head->prev;
            last->next = node;
            node->prev = last;
            m_head->prev = node;
        } else if (before == m_head) {
            node->next = m_head;
            node->prev = m_head->prev;
            m_head->prev = node;
            m_head = node;
        } else {
            node->next = before;
            node->prev = before->prev;
            before->prev->next = node;
            before->prev = node;
        }
        return node;
    }

    Node* m_head = nullptr;
};

// A list of plain values (platoon-type pointers of the aircraft pool,
// selection lists); typed, since pointers do not fit in 32 bits here.
template <typename T> using ValueList = RecordList<T>;

// Hex sequences handed between layers and to the frame (paths, formation
// hexes, hexes to repaint).
using HexList = RecordList<HexPos>;
using HexListNode = HexList::Node;

inline HexListNode* AppendHexListNode(HexList& list, int column, int row)
{
    return list.Append(HexPos { column, row });
}
inline HexListNode* PrependHexListNode(HexList& list, int column, int row)
{
    return list.Prepend(HexPos { column, row });
}
// Appends the hex unless the list holds it already (reports name each hex once).
HexListNode* AppendHexListNodeOnce(HexList& list, int column, int row);
bool HexListContains(const HexList& list, int column, int row);
