#pragma once
// A list that owns its elements, each allocated once so that its address
// stays put while it is listed (other records observe the elements through
// plain pointers). Iteration gives the elements as pointers, const through a
// const list.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <typename T> class OwnedList {
    using Owned = std::vector<std::unique_ptr<T>>;

public:
    // Takes the element over at the end; returns it.
    T* Append(std::unique_ptr<T> item)
    {
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    void Clear() { m_items.clear(); }

    std::size_t Count() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    // Null past the end.
    T* At(std::size_t index) { return index < m_items.size() ? m_items[index].get() : nullptr; }
    const T* At(std::size_t index) const { return index < m_items.size() ? m_items[index].get() : nullptr; }
    T* Front() { return At(0); }
    const T* Front() const { return At(0); }
    T* Back() { return m_items.empty() ? nullptr : m_items.back().get(); }
    const T* Back() const { return m_items.empty() ? nullptr : m_items.back().get(); }

    template <typename Base, typename Pointer> class Iter {
    public:
        explicit Iter(Base at)
            : m_at(at)
        {
        }
        Pointer operator*() const { return m_at->get(); }
        Iter& operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator==(const Iter& other) const { return m_at == other.m_at; }

    private:
        Base m_at;
    };
    auto begin() { return Iter<typename Owned::iterator, T*>(m_items.begin()); }
    auto end() { return Iter<typename Owned::iterator, T*>(m_items.end()); }
    auto begin() const { return Iter<typename Owned::const_iterator, const T*>(m_items.begin()); }
    auto end() const { return Iter<typename Owned::const_iterator, const T*>(m_items.end()); }

private:
    Owned m_items;
};
