#pragma once
// How the game object calls back into the frame without knowing it: the frame
// hands it callback objects, and the game object invokes them at the moments
// the frame wants to show (a stack move, a scattered placement). The frame
// hands each callback over as a unique_ptr: the game object owns it from then
// on. A member callback only observes its target, which must outlive it.

#include <memory>

class CCallback {
public:
    virtual ~CCallback() = default;
    virtual void Invoke() = 0;
};

// Calls one member function of a target object.
template <typename Target> class CMemberCallback final : public CCallback {
public:
    using Member = void (Target::*)();

    CMemberCallback(Target* target, Member member)
        : m_target(target)
        , m_member(member)
    {
    }
    void Invoke() override
    {
        if (m_target && m_member)
            (m_target->*m_member)();
    }

private:
    Target* m_target;
    Member m_member;
};

template <typename Target>
std::unique_ptr<CCallback> MakeMemberCallback(Target* target, typename CMemberCallback<Target>::Member member)
{
    return std::make_unique<CMemberCallback<Target>>(target, member);
}
