// A small Win32 program for the end-to-end tests: it reports what it sees of the desktop in
// the same Wine prefix, one tab-separated record per line.
//   probe windows [class]   top-level windows (of the class, when given)
//   probe taskbar           the taskbar's buttons
//   probe msgboxes          message boxes, with their text
//   probe workarea          the work area
//   probe close <hwnd> [n]  posts WM_CLOSE to a window (n times at once)
//   probe traydelete <hwnd> removes the window's icon (id 1) from the notification area, as a
//                           restarting shell loses it
//   probe taskbarcreated    broadcasts "TaskbarCreated" to the top-level windows
//   probe tips              the texts of the notification area's tool-tips
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Never blocks on a window whose thread is busy (no WM_GETTEXT is sent across processes).
std::string Text(HWND wnd) {
    WCHAR wide[512] = {};
    InternalGetWindowText(wnd, wide, 512);
    char buffer[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

std::string ClassOf(HWND wnd) {
    char buffer[256] = {};
    GetClassNameA(wnd, buffer, sizeof buffer);
    return buffer;
}

void PrintWindow(HWND wnd) {
    RECT r, c;
    GetWindowRect(wnd, &r);
    GetClientRect(wnd, &c);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    std::printf("hwnd=%lu\tpid=%lu\tclass=%s\ttitle=%s\tleft=%ld\ttop=%ld\tright=%ld\tbottom=%ld\t"
                "cleft=%ld\tctop=%ld\tcwidth=%ld\tcheight=%ld\tstyle=%lu\texstyle=%lu\tvisible=%d\t"
                "owner=%lu\n",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(wnd)),
                static_cast<unsigned long>(pid), ClassOf(wnd).c_str(), Text(wnd).c_str(), r.left,
                r.top, r.right, r.bottom, origin.x, origin.y, c.right, c.bottom,
                static_cast<unsigned long>(GetWindowLongA(wnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(wnd, GWL_EXSTYLE)),
                IsWindowVisible(wnd) ? 1 : 0,
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetWindow(wnd, GW_OWNER))));
}

const char* gClass = nullptr;

BOOL CALLBACK TopLevel(HWND wnd, LPARAM) {
    if (gClass == nullptr || ClassOf(wnd) == gClass)
        PrintWindow(wnd);
    return TRUE;
}

BOOL CALLBACK TaskbarChild(HWND wnd, LPARAM) {
    if (IsWindowVisible(wnd))
        std::printf("class=%s\ttitle=%s\n", ClassOf(wnd).c_str(), Text(wnd).c_str());
    return TRUE;
}

BOOL CALLBACK MsgBoxChild(HWND wnd, LPARAM) {
    if (ClassOf(wnd) == "Static" && !Text(wnd).empty())
        std::printf("\ttext=%s", Text(wnd).c_str());
    return TRUE;
}

BOOL CALLBACK MsgBoxes(HWND wnd, LPARAM) {
    if (ClassOf(wnd) == "#32770" && IsWindowVisible(wnd)) {
        std::printf("hwnd=%lu\ttitle=%s",
                    static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(wnd)), Text(wnd).c_str());
        EnumChildWindows(wnd, MsgBoxChild, 0);
        std::printf("\n");
    }
    return TRUE;
}

// The tool-tip windows belong to the shell's process: their tool records are read through
// memory allocated there.
DWORD gShellPid = 0;

BOOL CALLBACK PrintTips(HWND wnd, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != gShellPid || ClassOf(wnd) != TOOLTIPS_CLASSA)
        return TRUE;
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return TRUE;
    constexpr SIZE_T kText = 1024;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TTTOOLINFOW) + kText, MEM_COMMIT, PAGE_READWRITE));
    if (remote != nullptr) {
        auto count = SendMessageA(wnd, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = reinterpret_cast<LPWSTR>(remote + sizeof info);
            WCHAR text[kText / sizeof(WCHAR)] = {};
            WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
            WriteProcessMemory(process, remote + sizeof info, text, sizeof text, nullptr);
            if (!SendMessageW(wnd, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(remote)))
                continue;
            ReadProcessMemory(process, remote + sizeof info, text, sizeof text, nullptr);
            text[kText / sizeof(WCHAR) - 1] = 0;
            char narrow[kText] = {};
            WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
            std::printf("tip=%s\n", narrow);
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return TRUE;
}

HWND WindowArg(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text, nullptr, 10)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    std::string cmd = argv[1];
    if (cmd == "windows") {
        gClass = argc > 2 ? argv[2] : nullptr;
        EnumWindows(TopLevel, 0);
    } else if (cmd == "taskbar") {
        HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
        if (tray != nullptr)
            EnumChildWindows(tray, TaskbarChild, 0);
    } else if (cmd == "msgboxes") {
        EnumWindows(MsgBoxes, 0);
    } else if (cmd == "workarea") {
        RECT r;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
        std::printf("left=%ld\ttop=%ld\tright=%ld\tbottom=%ld\n", r.left, r.top, r.right, r.bottom);
    } else if (cmd == "close" && argc > 2) {
        int times = argc > 3 ? std::atoi(argv[3]) : 1;
        for (int i = 0; i < times; ++i)
            PostMessageA(WindowArg(argv[2]), WM_CLOSE, 0, 0);
    } else if (cmd == "traydelete" && argc > 2) {
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof data;
        data.hWnd = WindowArg(argv[2]);
        data.uID = 1;
        std::printf("deleted=%d\n", Shell_NotifyIconA(NIM_DELETE, &data) ? 1 : 0);
    } else if (cmd == "tips") {
        HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
        if (tray != nullptr) {
            GetWindowThreadProcessId(tray, &gShellPid);
            EnumWindows(PrintTips, 0);
        }
    } else if (cmd == "taskbarcreated") {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
