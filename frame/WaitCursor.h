#pragma once
// The busy pointer for a long operation: on from construction until Restore
// or the end of the record, whichever comes first. Records nest.

#include "platform/core/Cursors.h"

class WaitCursor {
public:
    explicit WaitCursor(platform::Cursors& cursors)
        : m_cursors(&cursors)
    {
        cursors.BeginBusy();
    }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // The pointer as it was; later calls do nothing.
    void Restore()
    {
        if (m_cursors)
            m_cursors->EndBusy();
        m_cursors = nullptr;
    }

private:
    platform::Cursors* m_cursors;
};
