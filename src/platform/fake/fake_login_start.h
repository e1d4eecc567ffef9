#pragma once

#include "platform/login_start.h"

namespace amperlog {

// A login start the test sets; it can be told to refuse changes, as a read-only autostart
// folder or a locked-down registry would.
class FakeLoginStart final : public LoginStart {
public:
    bool IsOn() const override { return m_on; }
    bool Set(bool on) override {
        if (m_refuses) {
            return false;
        }
        m_on = on;
        return true;
    }

    // A change made outside the program.
    void SetOutside(bool on) { m_on = on; }
    void Refuse(bool refuses) { m_refuses = refuses; }

private:
    bool m_on = false;
    bool m_refuses = false;
};

} // namespace amperlog
