#pragma once
// A job on a thread of its own (CreateThread: the runtime's win32 thread model has no
// std::thread), its end on the GUI thread. The job must not touch windows or the toolkit's
// objects. When it ends, its thread posts a message to the worker's hidden window; there, on the
// GUI thread, the worker waits for the thread to finish, so that whatever the job wrote is the
// GUI thread's to read, runs the done handler and then raises the job's failure, if it had one,
// from the window procedure (which hands it over as every failure in a message is).
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/Handles.h"

namespace zq {

class TUtilWindow;

class TWorkerThread {
public:
    TWorkerThread();
    // Stops a running job first.
    ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // Runs `job` on a new thread once the message loop takes the worker's first message, so after
    // whatever the GUI thread is doing now (at start-up: showing the main form). `done` then runs
    // on the GUI thread, whether or not the job failed. Where no thread can be made, the job runs
    // on the GUI thread instead. A job still running is stopped first.
    void Start(std::function<void()> job, std::function<void()> done);
    // Asks a running job to end early and waits for its thread; its `done` does not run.
    void Stop();
    // From Start until `done` runs (or Stop).
    bool Busy() const { return static_cast<bool>(FJob); }

    // For the job: whether it is asked to end early, and an event that is set then (a wait on it
    // with a timeout is a sleep that ends at once when the job is stopped; nullptr should the
    // system have refused the event).
    bool Stopping() const { return FStopping.load(); }
    HANDLE StopEvent() const { return FStopEvent.Get(); }

private:
    static DWORD WINAPI ThreadProc(void* self);
    LRESULT Message(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Run();
    void Finish();

    std::unique_ptr<TUtilWindow> FWindow;
    UniqueKernelHandle FStopEvent;
    UniqueKernelHandle FThread;
    std::atomic<bool> FStopping{false};
    std::function<void()> FJob;
    std::function<void()> FDone;
    // Tells a start's messages from those of an earlier, stopped one still in the queue.
    WPARAM FGeneration = 0;
    // The job's failure, written by its thread before it posts its end.
    bool FFailed = false;
    std::string FFailure;
};

} // namespace zq
