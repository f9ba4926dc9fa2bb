#pragma once
// The value "Zentiq" under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, which
// starts the program when the user logs on, through advapi32's wide calls (the command is
// UTF-8): a replaceable port, so that tests can make it fail.
#include <string>

namespace zq {

class TRunKeyPort {
public:
    // The value's text; empty where there is no text value.
    virtual std::string Read() = 0;
    // Sets the value to `command`, or deletes it where `command` is nullptr (a missing value is
    // no error); 0 or the system's error code.
    virtual long Write(const char* command) = 0;

protected:
    ~TRunKeyPort() = default;
};

// The port in use: the registry unless a test installed a stand-in.
extern TRunKeyPort* RunKey;

} // namespace zq
