// Measures a program's start-up inside Wine or Windows: from CreateProcess to the first visible
// top-level window of a given class that belongs to the new process.
//   startup_timer start <exe> <class> [close]   prints "startup_ms=<ms>"; with "close" the
//                                               window is then closed and the exit awaited
//   startup_timer close <class>                 closes the visible windows of the class
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct TSearch {
    DWORD Pid;
    const char* Class;
    HWND Found;
};

BOOL CALLBACK FindVisible(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<TSearch*>(param);
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (IsWindowVisible(wnd) && std::strcmp(name, search->Class) == 0 &&
        (search->Pid == 0 || pid == search->Pid)) {
        search->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindow(DWORD pid, const char* cls) {
    TSearch search{pid, cls, nullptr};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

int Start(const char* exe, const char* cls, bool close) {
    char dir[MAX_PATH];
    std::strncpy(dir, exe, sizeof dir - 1);
    dir[sizeof dir - 1] = '\0';
    if (char* slash = std::strrchr(dir, '\\'))
        *slash = '\0';
    char command[MAX_PATH + 2];
    std::snprintf(command, sizeof command, "\"%s\"", exe);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER began, now;
    QueryPerformanceCounter(&began);
    if (!CreateProcessA(exe, command, nullptr, nullptr, FALSE, 0, nullptr, dir, &si, &pi)) {
        std::printf("error=cannot start %s\n", exe);
        return 2;
    }
    HWND wnd = nullptr;
    for (;;) {
        wnd = VisibleWindow(pi.dwProcessId, cls);
        QueryPerformanceCounter(&now);
        if (wnd != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 ||
            Milliseconds(began, now) > 30000)
            break;
        Sleep(2);
    }
    if (wnd == nullptr) {
        std::printf("error=no visible window of class %s\n", cls);
        TerminateProcess(pi.hProcess, 1);
        return 2;
    }
    std::printf("startup_ms=%.1f\n", Milliseconds(began, now));
    std::fflush(stdout);
    if (close) {
        PostMessageA(wnd, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "start") == 0)
        return Start(argv[2], argv[3], argc >= 5 && std::strcmp(argv[4], "close") == 0);
    if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
        while (HWND wnd = VisibleWindow(0, argv[2])) {
            PostMessageA(wnd, WM_CLOSE, 0, 0);
            Sleep(500);
            if (VisibleWindow(0, argv[2]) == wnd)
                return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: startup_timer start <exe> <class> [close] | close <class>\n");
    return 2;
}
