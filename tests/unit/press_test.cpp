// Pressing the button ends the program at once.

#include "lifecycle/end_program.h"
#include "lifecycle/end_routines.h"
#include "lifecycle/lifecycle_state.h"
#include "lifecycle/program_start.h"
#include "startup_window/startup_template.h"
#include "startup_window/window_events.h"
#include "tests/unit/test_templates.h"

namespace {

// The shipped program with an end routine of the test's registered first.
std::uint32_t StartWithEndRoutine(FakePlatform& fake) {
  return RunToExit([&] {
    ResetLifecycle(fake, &ProgramTemplates());
    RegisterEndRoutine(EndRoutineA);
    ProgramStart();
  });
}

TEST_F(CoreTest, AClickReportEndsTheProgramAtOnceWithZero) {
  fake.QueueClickReport(kFirstButton);
  fake.QueueQuit(9);  // never taken

  EXPECT_EQ(StartWithEndRoutine(fake), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {
      "dispatch click report", "DestroyWindow [suppressed]", "destroyed window [suppressed]",
      "destroyed control r [suppressed]", "EndRoutineA [suppressed]",
      "ReleaseSharedIcons [suppressed]", "StopServices [suppressed]", "ExitProcess 0x00000000",
  }));
  EXPECT_EQ(Count(fake.calls, "EndRoutineA"), 1);
  EXPECT_EQ(Count(fake.calls, "ExitProcess"), 1);
  EXPECT_EQ(Count(fake.calls, "PostQuit"), 0);
  EXPECT_EQ(Lifecycle().endRoutines.count, 0);
  EXPECT_EQ(fake.queue.size(), 1u) << "the loop went on after the press";
}

TEST_F(CoreTest, EventsTheDestructionCausesReachNoHandler) {
  // The focus-lost binding works while the program runs (the deactivation),
  // and the focus the button loses while being destroyed runs nothing.
  TestTemplate window({{kStartupButtonId, "r",
                        {{kFocusLostEvent, FocusLost}, {kButtonPressEvent, [](EventArgs) { EndProgram(0); }}}}});
  fake.QueueAction("deactivate", [&] { fake.Deactivate(kWindow); });
  fake.QueueAction("reactivate", [&] { fake.SetFocus(kWindow); });
  fake.QueueClickReport(kFirstButton);

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {"deactivate", "FocusLost", "dispatch click report",
                                          "destroyed control r"}));
  EXPECT_EQ(Count(fake.calls, "FocusLost"), 1);
}

void EndThenCarryOn(EventArgs) {
  EndProgram(7);
  gFake->Record("after EndProgram");
}

TEST_F(CoreTest, CodeAfterEndProgramNeverRuns) {
  TestTemplate window({{kStartupButtonId, "r", {{kButtonPressEvent, EndThenCarryOn}}}});
  fake.QueueClickReport(kFirstButton);

  EXPECT_EQ(Run(window.library()), 7u);

  EXPECT_EQ(Count(fake.calls, "after EndProgram"), 0);
  EXPECT_EQ(Count(fake.calls, "ExitProcess"), 1);
}

TEST_F(CoreTest, AClickReportAfterThePressReachesNoHandler) {
  static int presses;
  presses = 0;
  TestTemplate window({{kStartupButtonId, "r", {{kButtonPressEvent, [](EventArgs) {
                          ++presses;
                          EndProgram(0);
                        }}}}});
  fake.QueueClickReport(kFirstButton);
  fake.QueueClickReport(kFirstButton);
  Run(window.library());
  ASSERT_EQ(presses, 1);

  // The second click of a double click, reported while the program ends.
  OnControlNotification(kWindow, kFirstButton, ControlNotification::Clicked);

  EXPECT_EQ(presses, 1);
}

TEST_F(CoreTest, ClickReportGoesBackToTheButtonThatSentIt) {
  TestTemplate window({{0x16010002, "a", {{kButtonPressEvent, PressA}}},
                       {0x16010003, "b", {{kButtonPressEvent, PressB}}}});
  const WindowHandle b = kFirstButton + 1;
  fake.QueueAction("other notification",
                   [&] { OnControlNotification(kWindow, b, ControlNotification::Other); });
  fake.QueueAction("from another window",
                   [&] { OnControlNotification(0x999, b, ControlNotification::Clicked); });
  fake.QueueClickReport(b);
  fake.QueueQuit(0);

  Run(window.library());

  EXPECT_TRUE(HappensInOrder(fake.calls, {"dispatch click report", "PressB args=0"}));
  EXPECT_EQ(Count(fake.calls, "PressB"), 1);
  EXPECT_EQ(Count(fake.calls, "PressA"), 0);
}

// The full 32 bits of the status reach the process exit; a Linux exit
// status keeps only the low byte, so the fake prints them first.
class EndProgramStatus : public CoreTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(EndProgramStatus, IsTheProcessExitStatusUnchanged) {
  std::int32_t status = GetParam();
  char expected[64];
  std::snprintf(expected, sizeof expected, "^exit status 0x%08X\n$", static_cast<std::uint32_t>(status));
  EXPECT_EXIT(
      {
        fake.exitForReal = true;
        ResetLifecycle(fake, &ProgramTemplates());
        EndProgram(status);
      },
      ::testing::ExitedWithCode(status & 0xFF), expected);
}

INSTANTIATE_TEST_SUITE_P(Statuses, EndProgramStatus, ::testing::Values(0, 7, -1));

}  // namespace
