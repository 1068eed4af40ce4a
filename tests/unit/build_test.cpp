// Building and showing the start-up window.

#include <cstring>

#include "startup_window/control_id.h"
#include "startup_window/startup_template.h"
#include "startup_window/window_builder.h"
#include "tests/unit/test_templates.h"

namespace {

TEST_F(CoreTest, StartUpBuildsHiddenUnderSuppressionThenRaisesBuildEventsThenShows) {
  TestTemplate window({{kStartupButtonId, "r", {}}}, {{kWindowBuiltEvent, WindowBuilt}});
  fake.QueueQuit(0);

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {
      "ChangeDirectory C:\\Program Files\\startwin",
      "CreateTopLevelWindow [suppressed]",
      "ApplyFrameStyle [suppressed]",
      "SetDefaultIcons [suppressed]",
      "UseDefaultGuiFont window [suppressed]",
      "CreatePushButton r [suppressed]",
      "UseDefaultGuiFont button [suppressed]",
      "ShowWithoutActivating r [suppressed]",
      "WindowBuilt",
      "ShowAndActivate",
      "SetFocus r",
  }));
}

TEST_F(CoreTest, StartupWindowIsABorderlessCentredWindowWithOneCentredPushButton) {
  fake.QueueQuit(0);
  Run(&ProgramTemplates());

  const TopLevelRequest& window = fake.lastTopLevel;
  EXPECT_FALSE(window.frame.border || window.frame.titleBar || window.frame.systemMenu ||
               window.frame.maximizeBox);
  EXPECT_TRUE(window.frame.minimizeBox);
  EXPECT_TRUE(window.clipChildren);
  EXPECT_FALSE(window.disabled);
  EXPECT_STREQ(window.text, "");
  EXPECT_EQ(window.outer, (Rect{764, 348, 1156, 732}));

  ASSERT_EQ(fake.buttons.size(), 1u);
  const PushButtonRequest& button = fake.buttons[0];
  EXPECT_EQ(button.controlId, 0x16010002u);
  EXPECT_STREQ(button.text, "r");
  EXPECT_EQ(button.bounds, (Rect{64, 24, 352, 56}));
  EXPECT_EQ(button.horizontal, HorizontalAlign::Centre);
  EXPECT_EQ(button.vertical, VerticalAlign::Centre);
  EXPECT_TRUE(button.tabStop);
  EXPECT_FALSE(button.defaultButton || button.disabled);
}

TEST(StartupTemplate, HoldsTheIdentifiersAndGbkNames) {
  const WindowTemplate& startup = StartupTemplate();
  EXPECT_EQ(startup.id, 0x52010001u);
  ASSERT_EQ(startup.elementCount, 2);
  const Element& window = startup.elements[0];
  const Element& button = startup.elements[1];
  EXPECT_EQ(window.id, 0x06010000u);
  EXPECT_EQ(window.kind, ElementKind::Window);
  EXPECT_EQ(window.common.bindingCount, 0);
  EXPECT_EQ(window.window->backColor, kDefaultBackColor);
  EXPECT_EQ(window.window->borderStyle, 0);
  EXPECT_EQ(button.id, 0x16010002u);
  EXPECT_EQ(button.kind, ElementKind::Button);
  EXPECT_EQ(std::strcmp(button.name, "\xB0\xB4\xC5\xA5\x31"), 0);
  EXPECT_EQ(std::strcmp(window.kindName, "\xB4\xB0\xBF\xDA"), 0);
  ASSERT_EQ(button.common.bindingCount, 1);
  EXPECT_EQ(button.common.bindings[0].eventNumber, kButtonPressEvent);
}

struct Placement {
  Size screen;
  int left;
  int top;
};
void PrintTo(const Placement& p, std::ostream* os) { *os << p.screen.width << "x" << p.screen.height; }

class Centring : public ::testing::TestWithParam<Placement> {};

// Truncation toward zero, and a screen smaller than the window gives
// negative coordinates that stay as they are.
TEST_P(Centring, PlacesTheWindowOnThePrimaryScreen) {
  const Placement& expected = GetParam();
  Rect outer = PlaceWindow(StartupTemplate().elements[0], expected.screen);
  EXPECT_EQ(outer, (Rect{expected.left, expected.top, expected.left + 392, expected.top + 384}));
}

INSTANTIATE_TEST_SUITE_P(Screens, Centring,
                         ::testing::Values(Placement{{1920, 1080}, 764, 348},
                                           Placement{{1365, 768}, 486, 192},
                                           Placement{{320, 240}, -36, -72},
                                           Placement{{321, 241}, -35, -71},
                                           Placement{{392, 384}, 0, 0}));

TEST(Placement, UsesLeftAndTopUnlessCentred) {
  Element window = StartupTemplate().elements[0];
  WindowProperties properties = *window.window;
  properties.startPosition = StartPosition::AtLeftTop;
  window.window = &properties;
  EXPECT_EQ(PlaceWindow(window, {1920, 1080}), (Rect{50, 50, 442, 434}));
}

struct SizeCheck {
  int titleBarHeight;
  bool moved;
};
void PrintTo(const SizeCheck& c, std::ostream* os) { *os << "title bar " << c.titleBarHeight; }

class OuterSizeCheck : public CoreTest, public ::testing::WithParamInterface<SizeCheck> {};

// A platform that gives new top-level windows a title bar keeps their outer
// size when the frame is taken away: the window is then moved and resized.
TEST_P(OuterSizeCheck, MovesAndResizesOnlyWhenTheOuterRectangleDiffers) {
  fake.titleBarHeight = GetParam().titleBarHeight;
  fake.QueueQuit(0);
  Run(&ProgramTemplates());

  if (GetParam().moved) {
    ASSERT_EQ(fake.moves.size(), 1u);
    EXPECT_EQ(fake.moves[0], (Rect{764, 348, 1156, 732}));
    EXPECT_TRUE(HappensInOrder(fake.calls, {"ApplyFrameStyle", "MoveWindow", "SetDefaultIcons"}));
  } else {
    EXPECT_TRUE(fake.moves.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Platforms, OuterSizeCheck,
                         ::testing::Values(SizeCheck{0, false}, SizeCheck{23, true}));

struct ProgramFolder {
  const char* programFile;
  const char* changedTo;  // null: left as it is
};
void PrintTo(const ProgramFolder& f, std::ostream* os) { *os << f.programFile; }

class CurrentDirectory : public CoreTest, public ::testing::WithParamInterface<ProgramFolder> {};

TEST_P(CurrentDirectory, BecomesTheProgramFolder) {
  fake.programPath = GetParam().programFile;
  fake.QueueQuit(0);
  EXPECT_EQ(Run(&ProgramTemplates()), 0u);

  int changes = 0;
  for (const std::string& call : fake.calls) {
    if (call.rfind("ChangeDirectory ", 0) == 0) {
      ++changes;
      ASSERT_NE(GetParam().changedTo, nullptr) << call;
      EXPECT_EQ(call, std::string("ChangeDirectory ") + GetParam().changedTo);
    }
  }
  EXPECT_EQ(changes, GetParam().changedTo == nullptr ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CurrentDirectory,
    ::testing::Values(ProgramFolder{"C:\\Program Files\\startwin\\startwin.exe", "C:\\Program Files\\startwin"},
                      ProgramFolder{"\\\\server\\share\\startwin.exe", "\\\\server\\share"},
                      // The root keeps its separator: "C:" would be the drive's current folder.
                      ProgramFolder{"C:\\startwin.exe", "C:\\"},
                      ProgramFolder{"startwin.exe", nullptr},
                      // The platform could not tell the path: ignored, start-up goes on.
                      ProgramFolder{"", nullptr}));

}  // namespace
