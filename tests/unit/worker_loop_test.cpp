// The worker loop's run control and the request channel, driven without a
// window system: the loop's platform pieces are recorded or scripted here.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "shell/shell_state.h"

namespace {

std::vector<std::string> Log;
int Passes;
void (*BetweenPasses)(int pass);

void ResetShell()
{
    StartRequested = 0; UserProgramRunning = 0; StopRequested = 0; ExitState = 0;
    PendingRequest = 0; RequestDone = 1;
    Log.clear();
    Passes = 0;
    BetweenPasses = nullptr;
}

void Setup() { Log.push_back("setup"); }
void MainHook() { Log.push_back("main stop=" + std::to_string(StopRequested.load())); }
void Nothing() {}
void Sleep1() { if (BetweenPasses) BetweenPasses(++Passes); }
void Serve() { Log.push_back("serve"); PendingRequest = 0; }
void Drops(bool on) { Log.push_back(on ? "drops on" : "drops off"); }

WorkerPlatform Platform()
{
    return WorkerPlatform{Setup, MainHook, Nothing, Sleep1, Nothing, Serve, Drops};
}

TEST(WorkerLoop, StartStopStartBeforeOnePassRunsMainOnceWithStopCleared)
{
    ResetShell();
    BetweenPasses = [](int pass) {
        if (pass == 1) { StartRequested = 1; StopRequested = 1; StartRequested = 1; }
        if (pass == 3) ExitState = 1;
    };
    RunWorkerLoop(Platform());
    EXPECT_EQ(Log, (std::vector<std::string>{"setup", "drops off", "main stop=0", "drops on"}));
    EXPECT_EQ(ExitState.load(), 2);
    EXPECT_EQ(UserProgramRunning.load(), 0);
}

TEST(WorkerLoop, ExitDuringMainLeavesFlagsAndDropsAsTheyAre)
{
    ResetShell();
    BetweenPasses = [](int pass) { if (pass == 1) StartRequested = 1; };
    WorkerPlatform p = Platform();
    p.main = [] { Log.push_back("main"); StopRequested = 1; ExitState = 1; };
    RunWorkerLoop(p);
    EXPECT_EQ(Log, (std::vector<std::string>{"setup", "drops off", "main"}));
    EXPECT_EQ(UserProgramRunning.load(), 1);
    EXPECT_EQ(StopRequested.load(), 1);
    EXPECT_EQ(ExitState.load(), 2);
}

TEST(WorkerLoop, ServesPendingRequestsOnlyWhenOneIsPosted)
{
    ResetShell();
    BetweenPasses = [](int pass) {
        if (pass == 2) PendingRequest = GUIREQ_SHOWIMAGE;
        if (pass == 4) ExitState = 1;
    };
    RunWorkerLoop(Platform());
    EXPECT_EQ(Log, (std::vector<std::string>{"setup", "serve"}));
}

// ---- Request channel between two real threads ----------------------------------

int Executed;
bool ExecuteCreate(int code, GuiRequestBlock& b)
{
    if (code != GUIREQ_CREATEIMAGE) return false;
    ++Executed;
    b.result = b.width * 1000 + b.height;
    return true;
}

void YieldPump() { std::this_thread::yield(); }

TEST(RequestChannel, WaitingPostGetsTheWorkersResult)
{
    ResetShell();
    Executed = 0;
    std::thread worker([] {
        while (ExitState.load() == 0) ServeGuiRequest(ExecuteCreate);
    });
    for (int i = 1; i <= 200; ++i) {
        GuiRequestBlock b = {};
        b.width = i;
        b.height = 7;
        ASSERT_EQ(PostGuiRequest(GUIREQ_CREATEIMAGE, b, true, YieldPump), i * 1000 + 7);
        EXPECT_EQ(PendingRequest.load(), 0);
    }
    ExitState = 1;
    worker.join();
    EXPECT_EQ(Executed, 200);
}

TEST(RequestChannel, UnknownCodeStaysInTheSlot)
{
    ResetShell();
    PendingRequest = 9999;
    RequestDone = 0;
    ServeGuiRequest(ExecuteCreate);
    EXPECT_EQ(PendingRequest.load(), 9999);
    EXPECT_EQ(RequestDone.load(), 0);
    PendingRequest = 0;
}

TEST(RequestChannel, PosterGivesUpOnceTheWorkerHasGone)
{
    ResetShell();
    PendingRequest = GUIREQ_SHOWIMAGE; // a request nobody will take
    std::thread exiter([] { ExitState = 2; });
    GuiRequestBlock b = {};
    EXPECT_EQ(PostGuiRequest(GUIREQ_CREATEIMAGE, b, true, YieldPump), -1);
    exiter.join();
    PendingRequest = 0;
}

TEST(RequestChannel, ShowRequestDoesNotWait)
{
    ResetShell();
    GuiRequestBlock b = {};
    b.number = 5;
    EXPECT_EQ(PostGuiRequest(GUIREQ_SHOWIMAGE, b, false, YieldPump), 0);
    EXPECT_EQ(PendingRequest.load(), GUIREQ_SHOWIMAGE);
    EXPECT_EQ(RequestDone.load(), 1); // left as it was
    EXPECT_EQ(RequestBlock.number, 5);
    PendingRequest = 0;
}

} // namespace
