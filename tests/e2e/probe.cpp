// A small Win32 program for the end-to-end tests: it reports what it sees of the desktop in
// the same Wine prefix, one tab-separated record per line.
//   probe windows [class]   top-level windows (of the class, when given)
//   probe taskbar           the taskbar's buttons
//   probe msgboxes          message boxes, with their text (line breaks written as \n)
//   probe workarea          the work area
//   probe monitors          each monitor's rectangle and work area
//   probe close <hwnd>...   posts WM_CLOSE to each window given, all at once
//   probe traydelete <hwnd>...  removes each window's icon (id 1) from the notification area,
//                           as a restarting shell loses them
//   probe taskbarcreated    broadcasts "TaskbarCreated" to the top-level windows
//   probe tips              the texts of the notification area's tool-tips
//   probe children <hwnd>   the window's descendants: class, text, control id, visibility, rect
//   probe status <hwnd> <i> the text of a status bar's panel
//   probe count <hwnd>      the rows of a list view
//   probe page <hwnd>       the selected tab of a tab control
//   probe send <hwnd> <msg> <wparam> <lparam>   a message without pointers, and its result
//   probe alpha <hwnd>      a layered window's opacity (-1 when it is not layered)
//   probe hold <path>       opens the file without sharing it, prints "held" and keeps it open
//                           until its standard input ends
//   probe cover full|maximised  opens a window over the primary monitor, in the foreground, and
//                           keeps it until its standard input ends: borderless over the whole
//                           monitor, or maximised with a title bar, its frame past every edge and
//                           its client area over the whole monitor (as with an auto-hidden
//                           taskbar)
//   probe move <hwnd> <x> <y>  moves a window, keeping its size
//   probe access <hwnd>     the window's accessible object (its client area), as a screen reader
//                           reads it: role, state, name and value
//   probe fits <hwnd>       the window's labels and buttons: the room their texts need in the
//                           dialogs' font at the screen's resolution (MS Sans Serif, 11 pixels
//                           high at 96 dots per inch), on one line or, for a label that wraps,
//                           broken to its width; beside their client size
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>
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
    if (ClassOf(wnd) != "Static" || Text(wnd).empty())
        return TRUE;
    std::string text;
    for (char c : Text(wnd))
        if (c == '\n')
            text += "\\n";
        else if (c != '\r')
            text += c;
    std::printf("\ttext=%s", text.c_str());
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

BOOL CALLBACK Child(HWND wnd, LPARAM) {
    RECT r;
    GetWindowRect(wnd, &r);
    std::printf("hwnd=%lu\tclass=%s\ttitle=%s\tid=%d\tvisible=%d\tleft=%ld\ttop=%ld\tright=%ld\t"
                "bottom=%ld\n",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(wnd)), ClassOf(wnd).c_str(),
                Text(wnd).c_str(), GetDlgCtrlID(wnd), IsWindowVisible(wnd) ? 1 : 0, r.left, r.top,
                r.right, r.bottom);
    return TRUE;
}

HFONT gDialogFont = nullptr;

BOOL CALLBACK Fits(HWND wnd, LPARAM) {
    const std::string cls = ClassOf(wnd), text = Text(wnd);
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    const bool label = lstrcmpiA(cls.c_str(), "Static") == 0;
    if (text.empty() ||
        (!label && (lstrcmpiA(cls.c_str(), "Button") != 0 || (style & BS_TYPEMASK) == BS_GROUPBOX)))
        return TRUE;
    RECT client;
    GetClientRect(wnd, &client);
    const bool wraps = label && (style & SS_TYPEMASK) == SS_LEFT;
    RECT need{0, 0, wraps ? client.right : 0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, gDialogFont);
    DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    std::string shown = text;
    for (char& c : shown)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    std::printf("class=%s\ttitle=%s\tstyle=%lu\tneedwidth=%ld\tneedheight=%ld\twidth=%ld\t"
                "height=%ld\n",
                cls.c_str(), shown.c_str(), static_cast<unsigned long>(style),
                wraps ? 0L : need.right, need.bottom, client.right, client.bottom);
    return TRUE;
}

HWND Arg(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text, nullptr, 10)));
}

LRESULT Ask(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(wnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
    return static_cast<LRESULT>(result);
}

// A status bar's panel text, read through memory in the bar's process: messages that carry
// pointers are not carried across processes.
std::string StatusText(HWND bar, int panel) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return "";
    char text[512] = {};
    void* remote = VirtualAllocEx(process, nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE);
    if (remote != nullptr) {
        Ask(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text, sizeof text - 1, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

DWORD WINAPI EndAtInputEnd(LPVOID thread) {
    while (std::getchar() != EOF) {
    }
    PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(thread)), WM_QUIT, 0, 0);
    return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT &m = info.rcMonitor, &w = info.rcWork;
    std::printf("left=%ld\ttop=%ld\tright=%ld\tbottom=%ld\twleft=%ld\twtop=%ld\twright=%ld\t"
                "wbottom=%ld\n",
                m.left, m.top, m.right, m.bottom, w.left, w.top, w.right, w.bottom);
    return TRUE;
}

// The window rectangle whose client area is the whole primary monitor.
RECT FrameOverScreen(DWORD style) {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    AdjustWindowRect(&r, style, FALSE);
    return r;
}

// Maximised, the window's frame reaches past every edge of the monitor and its title bar lies
// above it, as with an auto-hidden taskbar on systems that let a maximised window do so.
LRESULT CALLBACK CoverProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETMINMAXINFO) {
        const RECT r = FrameOverScreen(WS_OVERLAPPEDWINDOW);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxPosition = {r.left, r.top};
        info->ptMaxSize = info->ptMaxTrackSize = {r.right - r.left, r.bottom - r.top};
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

int Cover(bool full) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = CoverProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    cls.lpszClassName = "ProbeCover";
    RegisterClassA(&cls);
    const DWORD style = full ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    const RECT r = FrameOverScreen(style);
    HWND wnd =
        CreateWindowExA(0, cls.lpszClassName, "Cover", style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, cls.hInstance, nullptr);
    if (wnd == nullptr)
        return 1;
    ShowWindow(wnd, full ? SW_SHOW : SW_MAXIMIZE);
    SetForegroundWindow(wnd);
    PrintWindow(wnd);
    std::fflush(stdout);
    HANDLE reader = CreateThread(
        nullptr, 0, EndAtInputEnd,
        reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(GetCurrentThreadId())), 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(wnd);
    CloseHandle(reader);
    return 0;
}

// The client object of a window, asked as a screen reader asks (the window's process answers).
int PrintAccessible(HWND wnd) {
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return 1;
    VARIANT self, role, state;
    V_VT(&self) = VT_I4;
    V_I4(&self) = CHILDID_SELF;
    V_VT(&role) = V_VT(&state) = VT_EMPTY;
    BSTR texts[2] = {};
    char name[128] = {}, value[128] = {};
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->get_accName(self, &texts[0]);
    object->get_accValue(self, &texts[1]);
    for (int i = 0; i < 2; ++i)
        if (texts[i] != nullptr)
            WideCharToMultiByte(CP_ACP, 0, texts[i], -1, i == 0 ? name : value, 128, nullptr,
                                nullptr);
    std::printf("role=%ld\tstate=%ld\tname=%s\tvalue=%s\n",
                V_VT(&role) == VT_I4 ? static_cast<long>(V_I4(&role)) : -1L,
                V_VT(&state) == VT_I4 ? static_cast<long>(V_I4(&state)) : -1L, name, value);
    SysFreeString(texts[0]);
    SysFreeString(texts[1]);
    object->Release();
    CoUninitialize();
    return 0;
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
    } else if (cmd == "monitors") {
        EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    } else if (cmd == "close" && argc > 2) {
        for (int i = 2; i < argc; ++i)
            PostMessageA(Arg(argv[i]), WM_CLOSE, 0, 0);
    } else if (cmd == "traydelete" && argc > 2) {
        for (int i = 2; i < argc; ++i) {
            NOTIFYICONDATAA data{};
            data.cbSize = sizeof data;
            data.hWnd = Arg(argv[i]);
            data.uID = 1;
            Shell_NotifyIconA(NIM_DELETE, &data);
        }
    } else if (cmd == "tips") {
        HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
        if (tray != nullptr) {
            GetWindowThreadProcessId(tray, &gShellPid);
            EnumWindows(PrintTips, 0);
        }
    } else if (cmd == "taskbarcreated") {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    } else if (cmd == "themechange") {
        // What Windows 10 and later tell every window when the user switches the theme.
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                            reinterpret_cast<LPARAM>("ImmersiveColorSet"), SMTO_ABORTIFHUNG, 2000,
                            nullptr);
    } else if (cmd == "children" && argc > 2) {
        EnumChildWindows(Arg(argv[2]), Child, 0);
    } else if (cmd == "status" && argc > 3) {
        std::printf("text=%s\n", StatusText(Arg(argv[2]), std::atoi(argv[3])).c_str());
    } else if (cmd == "count" && argc > 2) {
        std::printf("count=%ld\n", static_cast<long>(Ask(Arg(argv[2]), LVM_GETITEMCOUNT, 0, 0)));
    } else if (cmd == "page" && argc > 2) {
        std::printf("page=%ld\n", static_cast<long>(Ask(Arg(argv[2]), TCM_GETCURSEL, 0, 0)));
    } else if (cmd == "send" && argc > 5) {
        LRESULT r = Ask(Arg(argv[2]), static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)),
                        std::strtoul(argv[4], nullptr, 0), std::strtol(argv[5], nullptr, 0));
        std::printf("result=%ld\n", static_cast<long>(r));
    } else if (cmd == "alpha" && argc > 2) {
        BYTE alpha = 0;
        DWORD flags = 0;
        HWND wnd = Arg(argv[2]);
        bool layered = (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
                       GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) &&
                       (flags & LWA_ALPHA);
        std::printf("alpha=%d\n", layered ? alpha : -1);
    } else if (cmd == "cover" && argc > 2) {
        return Cover(std::strcmp(argv[2], "full") == 0);
    } else if (cmd == "move" && argc > 4) {
        SetWindowPos(Arg(argv[2]), nullptr, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (cmd == "access" && argc > 2) {
        return PrintAccessible(Arg(argv[2]));
    } else if (cmd == "fits" && argc > 2) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        gDialogFont = CreateFontA(-MulDiv(11, dpi, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                  DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        std::printf("dpi=%d\n", dpi);
        EnumChildWindows(Arg(argv[2]), Fits, 0);
        DeleteObject(gDialogFont);
    } else if (cmd == "hold" && argc > 2) {
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        std::printf("held\n");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        CloseHandle(file);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
