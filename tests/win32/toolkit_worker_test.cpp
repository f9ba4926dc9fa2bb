// The worker thread: its job runs on a thread of its own once the message loop runs, its end on
// the GUI thread; a failure is handed over there, and a stop waits for the thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "Harness.h"
#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Worker.h"

using namespace zq;

namespace {

// Pumps the queue until `ready` holds or five seconds pass.
template <typename F> bool PumpUntil(F ready) {
    for (const DWORD began = GetTickCount(); !ready(); Sleep(1)) {
        if (GetTickCount() - began > 5000)
            return false;
        Application->ProcessMessages();
    }
    return true;
}

} // namespace

TEST(Worker, RunsTheJobOnAThreadOnceTheLoopRunsAndEndsOnTheGuiThread) {
    TWorkerThread worker;
    DWORD jobThread = 0, doneThread = 0;
    int written = 0, seen = 0;
    worker.Start(
        [&] {
            jobThread = GetCurrentThreadId();
            written = 42;
        },
        [&] {
            doneThread = GetCurrentThreadId();
            seen = written;
        });
    Sleep(50);
    EXPECT_EQ(jobThread, 0u) << "started before the message loop took its start";
    ASSERT_TRUE(PumpUntil([&] { return !worker.Busy(); }));
    EXPECT_NE(jobThread, 0u);
    EXPECT_NE(jobThread, GetCurrentThreadId());
    EXPECT_EQ(doneThread, GetCurrentThreadId());
    EXPECT_EQ(seen, 42);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{});
}

TEST(Worker, AFailedJobStillEndsAndItsFailureIsHandedOverOnTheGuiThread) {
    TWorkerThread worker;
    bool done = false;
    worker.Start([] { throw Exception("no clock to be had"); }, [&] { done = true; });
    ASSERT_TRUE(PumpUntil([&] { return !worker.Busy(); }));
    Application->ProcessMessages();
    EXPECT_TRUE(done);
    EXPECT_EQ(zqtest::TakeExceptions(), std::vector<std::string>{"no clock to be had"});
}

TEST(Worker, AStopEndsTheJobWaitsForItsThreadAndDropsItsEnd) {
    for (bool destroy : {false, true}) {
        std::atomic<bool> running{false}, sawStop{false}, ended{false};
        bool done = false;
        auto worker = std::make_unique<TWorkerThread>();
        TWorkerThread& w = *worker;
        w.Start(
            [&] {
                running = true;
                WaitForSingleObject(w.StopEvent(), 10000);
                sawStop = w.Stopping();
                Sleep(50); // the stop must wait for this too
                ended = true;
            },
            [&] { done = true; });
        ASSERT_TRUE(PumpUntil([&] { return running.load(); }));
        if (destroy)
            worker.reset();
        else
            w.Stop();
        EXPECT_TRUE(sawStop) << destroy;
        EXPECT_TRUE(ended) << destroy;
        EXPECT_FALSE(worker && worker->Busy());
        Sleep(20);
        Application->ProcessMessages();
        EXPECT_FALSE(done) << destroy;
    }
}
