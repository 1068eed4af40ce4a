// Closing, the event loop, the shutdown and a failed start-up.

#include "lifecycle/end_routines.h"
#include "lifecycle/event_loop.h"
#include "lifecycle/lifecycle_state.h"
#include "lifecycle/program_start.h"
#include "lifecycle/shutdown.h"
#include "startup_window/startup_template.h"
#include "startup_window/window_events.h"
#include "tests/unit/test_templates.h"

namespace {

struct CloseCase {
  const char* name;
  void (*request)(FakePlatform&);
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class Closing : public CoreTest, public ::testing::WithParamInterface<CloseCase> {};

// Whatever asks the window to close, it is destroyed at once, the loop ends
// with the quit request's 0 and the shutdown then finds no window to destroy.
TEST_P(Closing, DestroysTheWindowPostsQuitZeroAndShutsDown) {
  TestTemplate window({{kStartupButtonId, "r", {{kButtonPressEvent, PressA}}}},
                      {{kWindowBuiltEvent, RegisterTestEndRoutines}});
  GetParam().request(fake);

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {
      "DestroyWindow", "destroyed window", "destroyed control r", "PostQuit 0",
      "EndRoutineA [suppressed]", "EndRoutineB [suppressed]",
      "ReleaseSharedIcons [suppressed]", "StopServices [suppressed]",
      "ExitProcess 0x00000000",
  }));
  EXPECT_EQ(Count(fake.calls, "DestroyWindow"), 1);
  EXPECT_EQ(Count(fake.calls, "EndRoutineA"), 1);
  EXPECT_EQ(Count(fake.calls, "PressA"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Closing,
    ::testing::Values(
        CloseCase{"Esc", [](FakePlatform& fake) { fake.QueueKey(kFirstButton, Key::Escape); }},
        CloseCase{"PlatformCloseRequest",
                  [](FakePlatform& fake) { fake.QueueCloseRequest(kWindow); }}),
    [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, OutsideQuitEndsWithItsCodeAndTheShutdownDestroysTheWindowSilently) {
  TestTemplate window({{kStartupButtonId, "r", {{kButtonPressEvent, PressA}}}},
                      {{kWindowBuiltEvent, RegisterTestEndRoutines}});
  fake.QueueQuit(7);

  EXPECT_EQ(Run(window.library()), 7u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {
      "DestroyWindow [suppressed]", "destroyed window [suppressed]",
      "destroyed control r [suppressed]", "EndRoutineA [suppressed]", "EndRoutineB [suppressed]",
      "ReleaseSharedIcons [suppressed]", "StopServices [suppressed]", "ExitProcess 0x00000007",
  }));
  EXPECT_EQ(Count(fake.calls, "PostQuit"), 0);
  EXPECT_EQ(Count(fake.calls, "EndRoutineA"), 1);
  EXPECT_EQ(Count(fake.calls, "PressA"), 0);
}

TEST_F(CoreTest, ShutdownRunAgainFindsNothingToDo) {
  TestTemplate window({{kStartupButtonId, "r", {}}}, {{kWindowBuiltEvent, RegisterTestEndRoutines}});
  fake.QueueQuit(7);
  Run(window.library());
  size_t before = fake.calls.size();

  RunShutdownSequence();

  EXPECT_EQ(fake.calls.size(), before);
  EXPECT_EQ(Lifecycle().endRoutines.count, 0);
}

TEST_F(CoreTest, WindowGoneBeforeTheLoopPostsNothingAndTheLoopReturnsAtOnce) {
  auto closeAtOnce = [](EventArgs) { OnCloseRequested(kWindow); };
  TestTemplate window({{kStartupButtonId, "r", {}}}, {{kWindowBuiltEvent, closeAtOnce}});

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {"DestroyWindow", "ExitProcess 0x00000000"}));
  EXPECT_EQ(Count(fake.calls, "PostQuit"), 0);
  EXPECT_EQ(Count(fake.calls, "ShowAndActivate"), 0);
}

TEST_F(CoreTest, IdleIsRaisedOnceEachTimeTheQueueRunsEmpty) {
  static int idles;
  idles = 0;
  // Each idle queues the next messages: two, then one, then the quit.
  auto onIdle = [](EventArgs) {
    gFake->Record("idle");
    ++idles;
    if (idles == 1) {
      gFake->QueueAction("first", [] {});
      gFake->QueueAction("second", [] {});
    } else if (idles == 2) {
      gFake->QueueAction("third", [] {});
    } else {
      gFake->QueueQuit(5);
    }
  };
  TestTemplate window({{kStartupButtonId, "r", {}}}, {{kWindowIdleEvent, onIdle}});

  EXPECT_EQ(Run(window.library()), 5u);

  std::vector<std::string> loop;
  for (const std::string& call : fake.calls) {
    if (call == "idle" || call == "first" || call == "second" || call == "third") loop.push_back(call);
  }
  EXPECT_EQ(loop, (std::vector<std::string>{"idle", "first", "second", "idle", "third", "idle"}));
}

TEST_F(CoreTest, OnlyTheLastProgramWindowGoneEndsTheLoop) {
  TestTemplate first({{kStartupButtonId, "r", {}}});
  TestTemplate second({{kStartupButtonId, "s", {}}}, {}, 0x52010002);
  const WindowTemplate* both[] = {first.library()->templates[0], second.library()->templates[0]};
  TemplateLibrary library = {both, 2};
  const WindowHandle secondWindow = kFirstButton + 1;
  fake.QueueAction("open second", [] { LoadStartupWindow(0x52010002); });
  fake.QueueCloseRequest(kWindow);
  fake.QueueAction("close second", [&] { OnCloseRequested(secondWindow); });

  EXPECT_EQ(Run(&library), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {"open second", "DestroyWindow", "close second",
                                          "DestroyWindow", "PostQuit 0"}));
  EXPECT_EQ(Count(fake.calls, "PostQuit"), 1);
}

// A destroyed window frees its record: windows opened and closed one after
// another never run out of records.
TEST_F(CoreTest, AClosedWindowsRecordTakesTheNextWindow) {
  TestTemplate window({{kStartupButtonId, "r", {}}});
  // Each close posts a quit; the first ends the loop after this action.
  fake.QueueAction("close and open again", [] {
    for (int i = 0; i < kMaxProgramWindows; ++i) {
      OnCloseRequested(gFake->LastTopLevel());
      LoadStartupWindow(kStartupTemplateId);
    }
  });

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_EQ(Count(fake.calls, "ShowErrorBox"), 0);
  EXPECT_EQ(Count(fake.calls, "ShowAndActivate"), kMaxProgramWindows + 1);
  EXPECT_EQ(Count(fake.calls, "DestroyWindow"), kMaxProgramWindows + 1);
}

// Start-up as the process entry runs it, with an end routine registered
// before anything else, so a failure can show that none runs.
std::uint32_t StartWithEndRoutine(FakePlatform& fake, const TemplateLibrary* library) {
  return RunToExit([&] {
    ResetLifecycle(fake, library);
    RegisterEndRoutine(EndRoutineA);
    ProgramStart();
  });
}

struct FailureCase {
  const char* name;
  bool templateReadable;
  bool failWindow;
  bool failButton;
  ControlId templateId;
  const char* says;
  bool windowToDestroy;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailedStartUp : public CoreTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedStartUp, ShowsTheErrorBoxRunsNoEndRoutineAndExitsWithMinusOne) {
  const FailureCase& failure = GetParam();
  TestTemplate window({{kStartupButtonId, "r", {}}}, {}, failure.templateId);
  fake.failWindow = failure.failWindow;
  fake.failButton = failure.failButton;

  std::uint32_t status =
      StartWithEndRoutine(fake, failure.templateReadable ? window.library() : nullptr);

  EXPECT_EQ(status, 0xFFFFFFFFu);
  EXPECT_EQ(fake.errorCaption, "startwin");
  EXPECT_EQ(fake.errorText, failure.says);
  if (failure.windowToDestroy) {
    EXPECT_TRUE(HappensInOrder(fake.calls, {"ShowErrorBox [suppressed]", "DestroyWindow [suppressed]",
                                            "StopServices [suppressed]", "ExitProcess 0xFFFFFFFF"}));
  } else {
    EXPECT_TRUE(HappensInOrder(fake.calls, {"ShowErrorBox [suppressed]", "StopServices [suppressed]",
                                            "ExitProcess 0xFFFFFFFF"}));
    EXPECT_EQ(Count(fake.calls, "DestroyWindow"), 0);
  }
  EXPECT_EQ(Count(fake.calls, "EndRoutineA"), 0);
  EXPECT_EQ(Count(fake.calls, "PostQuit"), 0);
  EXPECT_EQ(Count(fake.calls, "ShowAndActivate"), 0);
}

constexpr char kTemplateUnreadable[] = "Start-up failed: the window template could not be read.";
constexpr char kWindowNotLoaded[] = "Start-up failed: the start-up window could not be loaded.";

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedStartUp,
    ::testing::Values(
        FailureCase{"TemplateUnreadable", false, false, false, kStartupTemplateId, kTemplateUnreadable, false},
        FailureCase{"NoTemplateWithThatId", true, false, false, 0x52010009, kWindowNotLoaded, false},
        FailureCase{"WindowNotCreated", true, true, false, kStartupTemplateId, kWindowNotLoaded, false},
        FailureCase{"ButtonNotCreated", true, false, true, kStartupTemplateId, kWindowNotLoaded, true}),
    [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, RegisteringARoutineTwiceListsItOnce) {
  ResetLifecycle(fake, &ProgramTemplates());
  RegisterEndRoutine(EndRoutineA);
  RegisterEndRoutine(EndRoutineB);
  RegisterEndRoutine(EndRoutineA);
  ASSERT_EQ(Lifecycle().endRoutines.count, 2);
  EXPECT_EQ(Lifecycle().endRoutines.routines[0], EndRoutineA);
  EXPECT_EQ(Lifecycle().endRoutines.routines[1], EndRoutineB);
}

}  // namespace
