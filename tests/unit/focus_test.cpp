// Where the keyboard focus goes when the window receives it.

#include "lifecycle/program_start.h"
#include "startup_window/window_events.h"
#include "tests/unit/test_templates.h"

namespace {

constexpr ControlId kA = 0x16010002;
constexpr ControlId kB = 0x16010003;
constexpr ControlId kC = 0x16010004;

// The control names in the order SetFocus was asked for them.
std::vector<std::string> FocusCalls(const std::vector<std::string>& calls) {
  std::vector<std::string> focus;
  for (const std::string& call : calls) {
    if (call.rfind("SetFocus ", 0) == 0) focus.push_back(call.substr(9));
  }
  return focus;
}

struct FirstFocus {
  const char* name;
  std::vector<ButtonRow> buttons;
  const char* focused;
};
void PrintTo(const FirstFocus& c, std::ostream* os) { *os << c.name; }

class FocusAtStart : public CoreTest, public ::testing::WithParamInterface<FirstFocus> {};

TEST_P(FocusAtStart, GoesToTheFirstUsableTabStop) {
  TestTemplate window(GetParam().buttons);
  fake.QueueQuit(0);
  Run(window.library());
  EXPECT_EQ(LastFocused(fake.calls), GetParam().focused);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FocusAtStart,
    ::testing::Values(
        FirstFocus{"LowestTabOrder", {{kA, "a", {}, 2}, {kB, "b", {}, 1}, {kC, "c", {}, 3}}, "b"},
        FirstFocus{"TieGoesToTheLaterInTemplateOrder",
                   {{kA, "a", {}, 0}, {kB, "b", {}, 0}, {kC, "c", {}, 1}}, "b"},
        FirstFocus{"SkipsNoTabStopHiddenAndDisabled",
                   {{kA, "a", {}, 0, false}, {kB, "b", {}, 0, true, false},
                    {kC, "c", {}, 1, true, true, true}, {0x16010005, "d", {}, 2}}, "d"}),
    [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, FocusReturnsToTheControlThatHadItAtDeactivationOnce) {
  TestTemplate window({{kA, "a", {}}, {kB, "b", {}, 1}});  // a first, then b
  fake.QueueKey(kFirstButton, Key::Tab);  // focus to b
  fake.QueueAction("deactivate", [&] { fake.Deactivate(kWindow); });
  fake.QueueAction("reactivate", [&] { fake.SetFocus(kWindow); });
  // The memory was used up: the window receiving the focus again starts over.
  fake.QueueAction("unfocus", [&] { fake.SetFocus(kNoWindow); });
  fake.QueueAction("refocus", [&] { fake.SetFocus(kWindow); });
  fake.QueueQuit(0);

  Run(window.library());

  EXPECT_EQ(FocusCalls(fake.calls), (std::vector<std::string>{"", "a", "b", "", "b", "", "a"}));
}

TEST_F(CoreTest, RememberedControlThatNoLongerExistsIsPassedOver) {
  TestTemplate window({{kA, "a", {}}, {kB, "b", {}, 1}});
  const WindowHandle b = kFirstButton + 1;
  fake.QueueKey(kFirstButton, Key::Tab);
  fake.QueueAction("deactivate", [&] { fake.Deactivate(kWindow); });
  fake.QueueAction("b goes", [&] { fake.windows[b].alive = false; });
  fake.QueueAction("reactivate", [&] { fake.SetFocus(kWindow); });
  fake.QueueQuit(0);

  Run(window.library());

  EXPECT_EQ(FocusCalls(fake.calls), (std::vector<std::string>{"", "a", "b", "", "a"}));
}

// The memory goes with the window's record: a window built in the record of
// a closed one starts with the first tab stop, even where the system gave
// the remembered control's handle to one of the new window's controls.
TEST_F(CoreTest, ANewWindowRemembersNothingOfTheClosedOneBefore) {
  TestTemplate window({{kA, "a", {}}, {kB, "b", {}, 1}});
  const WindowHandle b = kFirstButton + 1;
  fake.reuseHandles = true;
  fake.QueueKey(kFirstButton, Key::Tab);  // focus to b
  fake.QueueAction("deactivate", [&] { fake.Deactivate(kWindow); });
  // Closing the last window posts the quit that ends the loop afterwards.
  fake.QueueAction("close and open again", [] {
    OnCloseRequested(kWindow);
    LoadStartupWindow(kStartupTemplateId);
  });

  EXPECT_EQ(Run(window.library()), 0u);

  ASSERT_EQ(Count(fake.calls, "ShowAndActivate"), 2);
  ASSERT_EQ(fake.windows[b].parent, kWindow) << "b's handle went to the new window's b";
  EXPECT_EQ(FocusCalls(fake.calls), (std::vector<std::string>{"", "a", "b", "", "a"}));
}

}  // namespace
