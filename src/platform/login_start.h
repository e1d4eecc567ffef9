#pragma once

namespace amperlog {

// Whether the program starts by itself when the user logs in. The system keeps the answer (an
// autostart entry, a Run value), not the program: it is read there each time, so a change
// made by hand or by another copy shows.
class LoginStart {
public:
    virtual ~LoginStart() = default;
    virtual bool IsOn() const = 0;
    // Makes the system start the running executable at login, or no longer; false when the
    // system refused, and then the state is as it was.
    virtual bool Set(bool on) = 0;
};

} // namespace amperlog
