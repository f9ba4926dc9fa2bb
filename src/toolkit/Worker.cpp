#include "toolkit/Worker.h"

#include <utility>

#include "toolkit/Exceptions.h"
#include "toolkit/UtilWindow.h"

namespace zq {

namespace {
constexpr UINT kStartMessage = WM_APP;
constexpr UINT kDoneMessage = WM_APP + 1;
constexpr SIZE_T kStackSize = 64 * 1024;
} // namespace

TWorkerThread::TWorkerThread()
    : FWindow(
          std::make_unique<TUtilWindow>([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
              return Message(wnd, msg, wParam, lParam);
          })),
      FStopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TWorkerThread::~TWorkerThread() {
    Stop();
}

void TWorkerThread::Start(std::function<void()> job, std::function<void()> done) {
    Stop();
    FJob = std::move(job);
    FDone = std::move(done);
    PostMessageA(FWindow->Handle(), kStartMessage, FGeneration, 0);
}

void TWorkerThread::Stop() {
    if (FThread) {
        FStopping = true;
        if (FStopEvent)
            SetEvent(FStopEvent.Get());
        WaitForSingleObject(FThread.Get(), INFINITE);
        FThread.Reset();
        if (FStopEvent)
            ResetEvent(FStopEvent.Get());
        FStopping = false;
    }
    ++FGeneration; // a start or an end still queued is now stale
    FJob = nullptr;
    FDone = nullptr;
    FFailed = false;
    FFailure.clear();
}

LRESULT TWorkerThread::Message(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kStartMessage && msg != kDoneMessage)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    if (wParam == FGeneration && FJob) {
        if (msg == kStartMessage)
            Run();
        else
            Finish();
    }
    return 0;
}

void TWorkerThread::Run() {
    DWORD id = 0;
    FThread.Reset(CreateThread(nullptr, kStackSize, &ThreadProc, this,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, &id));
    if (!FThread)
        ThreadProc(this); // no thread to be had: the job runs here, and ends as on a thread
}

// Nothing escapes: a failure is kept, as its text, for the GUI thread.
DWORD WINAPI TWorkerThread::ThreadProc(void* param) {
    auto& self = *static_cast<TWorkerThread*>(param);
    try {
        self.FJob();
    } catch (...) {
        self.FFailed = true;
        try {
            self.FFailure = CurrentExceptionMessage();
        } catch (...) {
        }
    }
    PostMessageA(self.FWindow->Handle(), kDoneMessage, self.FGeneration, 0);
    return 0;
}

void TWorkerThread::Finish() {
    if (FThread) {
        // The thread has posted its last message and is ending.
        WaitForSingleObject(FThread.Get(), INFINITE);
        FThread.Reset();
    }
    std::function<void()> done = std::move(FDone);
    const bool failed = std::exchange(FFailed, false);
    std::string failure = std::move(FFailure);
    FJob = nullptr;
    FDone = nullptr;
    if (done)
        done();
    if (failed)
        throw Exception(failure);
}

} // namespace zq
