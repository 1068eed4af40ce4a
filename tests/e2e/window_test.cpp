// The start-up window as the program shows it: place, shape, style,
// contents, focus and paint.
#include <strings.h>

#include "startwin_test.h"

namespace e2e {
namespace {

constexpr long kWidth = 392, kHeight = 384;

using Geometry = StartwinTest;
using Window = StartwinTest;

// Runs on every screen size of the ctest table (STARTWIN_E2E_SCREEN).
TEST_F(Geometry, CentredOnThePrimaryScreen) {
  long screenW = x().screenWidth(), screenH = x().screenHeight();
  ASSERT_EQ(screenW, session().config().screenWidth);
  ASSERT_EQ(screenH, session().config().screenHeight);
  App app = start();

  // C++ division truncates toward zero, as the program's must: 321 wide
  // gives -35, not -36.
  Rect expected{(screenW - kWidth) / 2, (screenH - kHeight) / 2, 0, 0};
  expected.right = expected.left + kWidth;
  expected.bottom = expected.top + kHeight;
  EXPECT_EQ(str(app.window.rect), str(expected)) << "screen " << screenW << "x" << screenH << "\n" << app.raw;
  EXPECT_EQ(str(app.window.client), str(Rect{0, 0, kWidth, kHeight})) << "no frame, no title bar";

  // What X shows must agree with what Win32 reports.
  XRect shown = x().geometry(app.xWindow);
  EXPECT_EQ(str(Rect{shown.x, shown.y, shown.x + long(shown.width), shown.y + long(shown.height)}), str(expected));

  ASSERT_EQ(app.children.size(), 1u) << app.raw;
  EXPECT_EQ(str(app.button.inParent), str(Rect{64, 24, 64 + 288, 24 + 32}));
  EXPECT_EQ(str(app.button.rect), str(Rect{expected.left + 64, expected.top + 24, expected.left + 64 + 288,
                                           expected.top + 24 + 32}));
}

TEST_F(Window, OneBorderlessTopLevelWindowWithOneButton) {
  App app = start();
  ProcessInfo info = probe().info(app.pid);
  ASSERT_EQ(info.windows.size(), 1u) << info.raw;
  const WindowInfo& w = app.window;
  std::cout << "top-level style " << hex32(w.style) << ", extended style " << hex32(w.exstyle) << "\n";

  // Every top-level window gets WS_CLIPSIBLINGS from the system; nothing
  // else may be there: no caption, system menu, frame or maximize box.
  EXPECT_EQ(hex32(w.style), hex32(win::WS_POPUP | win::WS_CLIPSIBLINGS | win::WS_CLIPCHILDREN |
                                  win::WS_MINIMIZEBOX | win::WS_VISIBLE));
  EXPECT_EQ(hex32(w.exstyle), hex32(0));
  EXPECT_EQ(w.owner, 0u) << "no owner";
  EXPECT_EQ(w.text, "");

  ASSERT_EQ(app.children.size(), 1u) << app.raw;
  const WindowInfo& b = app.button;
  EXPECT_EQ(strcasecmp(b.className.c_str(), "Button"), 0) << b.className;
  EXPECT_EQ(b.text, "r");
  EXPECT_EQ(hex(b.id), hex(0x16010002));
  EXPECT_EQ(hex32(b.style), hex32(win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::WS_TABSTOP |
                                  win::BS_PUSHBUTTON | win::BS_CENTER | win::BS_VCENTER | win::BS_MULTILINE));
  EXPECT_EQ(b.parent, w.hwnd);
}

TEST_F(Window, ActiveWithTheFocusOnTheButtonWithoutAnyInput) {
  App app = start();
  // No input at all reaches the program in this test.
  GuiInfo gui;
  bool ready = waitUntil("the window is active and the button has the focus", [&] {
    gui = probe().gui(app.tid);
    return gui.active == app.window.hwnd && gui.focus == app.button.hwnd;
  });
  EXPECT_TRUE(ready) << "active " << hex(gui.active) << ", focus " << hex(gui.focus) << "\n" << app.raw;
  EXPECT_EQ(gui.capture, 0u);
}

TEST_F(Window, PaintedInTheButtonFaceColour) {
  std::uint32_t colorref = probe().buttonFaceColorRef();  // 0x00BBGGRR
  std::uint32_t face = (colorref & 0xff) << 16 | (colorref & 0xff00) | (colorref >> 16 & 0xff);
  App app = start();
  long left = app.window.rect.left, top = app.window.rect.top;
  // Outside the button: the top row (where a title bar would be), the
  // corners, and the free area below the button.
  const struct {
    long x, y;
  } points[] = {{0, 0}, {196, 0}, {391, 0}, {0, 383}, {391, 383}, {10, 40}, {196, 200}, {380, 40}};
  for (const auto& p : points) {
    std::uint32_t seen = 0;
    // The window's pixels reach X shortly after it maps.
    bool painted = waitUntil("client point (" + std::to_string(p.x) + "," + std::to_string(p.y) + ") is painted", [&] {
      seen = x().pixel(static_cast<int>(left + p.x), static_cast<int>(top + p.y));
      return seen == face;
    });
    EXPECT_TRUE(painted) << "client (" << p.x << "," << p.y << "): " << hex32(seen) << ", button face "
                         << hex32(face);
  }
  // The black root (Xvfb -br) right next to it: the colour is the window's.
  EXPECT_NE(x().pixel(static_cast<int>(left - 1), static_cast<int>(top)), face);
  EXPECT_NE(x().pixel(static_cast<int>(left), static_cast<int>(top + kHeight)), face);
}

TEST_F(Window, SeveralCopiesRunSideBySideAndEndIndependently) {
  App first = startReady();
  App second = startReady();
  App third = startReady();
  EXPECT_NE(first.window.hwnd, second.window.hwnd);
  EXPECT_NE(second.window.hwnd, third.window.hwnd);
  EXPECT_NE(first.pid, second.pid);
  for (const App* app : {&first, &second, &third}) {
    ProcessInfo info = probe().info(app->pid);
    EXPECT_EQ(info.windows.size(), 1u) << "each copy shows its own window\n" << info.raw;
    EXPECT_EQ(info.childrenOf(app->window.hwnd).size(), 1u) << info.raw;
  }

  probe().postClose(second.window.hwnd);
  expectExit(second, 0);
  EXPECT_FALSE(probe().wait(first.pid, 0)) << "the first copy ended with the second";
  EXPECT_FALSE(probe().wait(third.pid, 0)) << "the third copy ended with the second";

  // The third, on top, takes a real press of its button; the first stays.
  x().moveTo(third.buttonCentreX(), third.buttonCentreY());
  x().click(1);
  expectExit(third, 0);

  probe().postQuit(first.tid, 9);
  expectExit(first, 9, "the first copy ran on until told to quit");
}

}  // namespace
}  // namespace e2e
