// The least a program doing the meter's job can do, as a yardstick for zentiq.exe: a 98 by 34
// topmost popup and a tray icon; at start-up one read of performance value "238" (the priming
// read every performance-data meter makes on the NT family), then once a second it reads the
// per-processor times, updates the icon's tool-tip and repaints the popup with a bar and the
// percentage.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr UINT kTimerId = 1;
constexpr UINT kTrayMessage = WM_APP + 1;

// SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION
struct TProcessorTimes {
    LARGE_INTEGER Idle, Kernel, User, Reserved1[2];
    ULONG Reserved2;
};
using QueryFn = LONG(WINAPI*)(int, void*, ULONG, ULONG*);

QueryFn gQuery = nullptr;
TProcessorTimes gTimes[64];
std::int64_t gLastIdle = 0, gLastTotal = 0;
int gPercent = 0;
NOTIFYICONDATAA gIcon{};

// Load of processor 0 since the last call, in percent.
int ReadLoad() {
    ULONG returned = 0;
    if (gQuery == nullptr || gQuery(8, gTimes, sizeof gTimes, &returned) != 0 ||
        returned < sizeof gTimes[0])
        return 0;
    const std::int64_t idle = gTimes[0].Idle.QuadPart;
    const std::int64_t total = gTimes[0].Kernel.QuadPart + gTimes[0].User.QuadPart;
    const std::int64_t dIdle = idle - gLastIdle, dTotal = total - gLastTotal;
    gLastIdle = idle;
    gLastTotal = total;
    if (dTotal <= 0)
        return 0;
    return static_cast<int>(100 - (dIdle * 100 + dTotal / 2) / dTotal);
}

// "N%" after `prefix`.
void PercentText(char* out, const char* prefix, int percent) {
    std::strcpy(out, prefix);
    char* p = out + std::strlen(out);
    if (percent < 0) {
        *p++ = '-';
        percent = -percent;
    }
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + percent % 10);
        percent /= 10;
    } while (percent != 0);
    while (n > 0)
        *p++ = digits[--n];
    *p++ = '%';
    *p = '\0';
}

void Paint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT client;
    GetClientRect(wnd, &client);
    RECT bar = client;
    bar.right = client.left + (client.right - client.left) * gPercent / 100;
    RECT rest = client;
    rest.left = bar.right;
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    FillRect(dc, &rest, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char text[16];
    PercentText(text, "", gPercent);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 255, 255));
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(wnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        gPercent = ReadLoad();
        PercentText(gIcon.szTip, "CPU Usage: ", gPercent);
        gIcon.uFlags = NIF_TIP;
        Shell_NotifyIconA(NIM_MODIFY, &gIcon);
        InvalidateRect(wnd, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        Paint(wnd);
        return 0;
    case WM_DESTROY:
        KillTimer(wnd, kTimerId);
        Shell_NotifyIconA(NIM_DELETE, &gIcon);
        RegCloseKey(HKEY_PERFORMANCE_DATA);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

// Reads performance value "238" once, growing the buffer while the system asks for more room,
// as a meter that samples the performance data must before its first reading.
void PrimePerformanceData() {
    HANDLE heap = GetProcessHeap();
    DWORD size = 8192;
    void* buffer = HeapAlloc(heap, 0, size);
    while (buffer != nullptr) {
        DWORD length = size;
        const LONG status = RegQueryValueExA(HKEY_PERFORMANCE_DATA, "238", nullptr, nullptr,
                                             static_cast<BYTE*>(buffer), &length);
        if (status != ERROR_MORE_DATA || size >= 16 * 1024 * 1024)
            break;
        size += 4096;
        void* grown = HeapReAlloc(heap, 0, buffer, size);
        if (grown == nullptr)
            break;
        buffer = grown;
    }
    if (buffer != nullptr)
        HeapFree(heap, 0, buffer);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gQuery = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));

    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "ZqMinimalMeter";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "Minimal meter",
                               WS_POPUP, 420, 0, 98, 34, nullptr, nullptr, instance, nullptr);

    gIcon.cbSize = sizeof gIcon;
    gIcon.hWnd = wnd;
    gIcon.uID = 1;
    gIcon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    gIcon.uCallbackMessage = kTrayMessage;
    gIcon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(gIcon.szTip, "CPU Usage");
    Shell_NotifyIconA(NIM_ADD, &gIcon);

    PrimePerformanceData();
    ReadLoad();
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    SetTimer(wnd, kTimerId, 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
