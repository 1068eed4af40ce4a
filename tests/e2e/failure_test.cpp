// The programs that fail at start-up on purpose: an error box, then -1.
#include "startwin_test.h"
#include "tests/win32/error_box_witness.h"

namespace e2e {
namespace {

class StartUpFailure : public StartwinTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StartUpFailure, ShowsAnErrorBoxThenEndsWithMinusOne) {
  App box = start(GetParam());
  ProcessInfo info = probe().info(box.pid);
  ASSERT_EQ(info.windows.size(), 1u) << info.raw;
  EXPECT_EQ(box.window.className, "#32770") << "a message box";
  EXPECT_EQ(box.window.text, "startwin") << "caption";
  EXPECT_EQ(box.window.owner, 0u) << "no owner";

  std::vector<std::string> texts;
  int okButtons = 0, otherButtons = 0, icons = 0;
  for (const WindowInfo& c : box.children) {
    if (!c.visible) continue;
    if (c.className == "Static" && (c.style & win::SS_TYPEMASK) == win::SS_ICON) ++icons;
    else if (c.className == "Static") texts.push_back(c.text);
    else if (c.className == "Button" && c.id == win::IDOK && c.text == "OK") ++okButtons;
    else if (c.className == "Button") ++otherButtons;
  }
  ASSERT_EQ(texts.size(), 1u) << info.raw;
  EXPECT_EQ(texts[0].rfind("Start-up failed", 0), 0u) << texts[0];
  EXPECT_NE(texts[0].find("the start-up window could not be loaded."), std::string::npos) << texts[0];
  EXPECT_EQ(okButtons, 1) << info.raw;
  EXPECT_EQ(otherButtons, 0) << info.raw;
  EXPECT_EQ(icons, 1) << "MB_ICONERROR shows an icon\n" << info.raw;
  // Which icon it is, only the failing program itself can tell.
  std::uint64_t shown = 0;
  waitUntil("the failing program names the box's icon", [&] {
    shown = probe().property(box.window.hwnd, kErrorBoxIconProperty);
    return shown != static_cast<std::uint64_t>(BoxIcon::Unknown);
  });
  EXPECT_EQ(shown, static_cast<std::uint64_t>(BoxIcon::Error))
      << "the error icon, not the warning (2), information (3), question (4) or another (5) one";

  EXPECT_FALSE(probe().wait(box.pid, 0)) << "the box waits for the user";
  waitUntil("the box has the X focus", [&] { return x().isSameOrAncestor(box.xWindow, x().inputFocus()); });
  x().tapKey("Return");
  expectExit(box, 0xFFFFFFFF, "ExitProcess(-1) after OK");
}

INSTANTIATE_TEST_SUITE_P(Program, StartUpFailure,
                         ::testing::Values("startwin-fail-window.exe", "startwin-fail-button.exe"),
                         [](const auto& param) {
                           std::string exe = param.param;
                           return std::string(exe.find("button") != std::string::npos ? "Button" : "Window");
                         });

}  // namespace
}  // namespace e2e
