#pragma once
// Opening an address (a web page) with the user's browser through the shell: a replaceable port,
// so tests can record the calls.
#include <string>

namespace zq {

class TShellOpener {
public:
    virtual ~TShellOpener() = default;
    // Asks the shell to perform the verb "open" on `address`. A failure is not reported.
    virtual void Open(const std::string& address) = 0;
};

// The port in use: the system shell (ShellExecuteA, owned by the application window, shown
// normally) unless a stand-in was installed.
TShellOpener& ShellOpener();
// Installs a stand-in (nullptr puts the system shell back) and answers the previous one.
TShellOpener* SetShellOpener(TShellOpener* opener);

} // namespace zq
