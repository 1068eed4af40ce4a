#include "startwin_test.h"

#include <cstdio>
#include <thread>

namespace e2e {

std::chrono::milliseconds timeout() { return std::chrono::milliseconds(10000) * session().config().timeScale; }

std::string hex32(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", value);
  return buf;
}

void StartwinTest::TearDown() {
  // Whatever a failed test left running or held must not reach the next.
  x().releaseAll();
  for (std::uint32_t pid : started_) probe().kill(pid);
  x().moveTo(0, 0);
}

App StartwinTest::start(const std::string& exe) {
  App app;
  app.exe = exe;
  x().forgetEvents();
  ProbeClient::Launched launched = probe().launch(session().program(exe));
  started_.push_back(launched.pid);
  app.pid = launched.pid;
  app.tid = launched.tid;
  // Wine names the X window's WM_CLASS after the exe file. A program that
  // ends first will show none.
  std::optional<std::uint32_t> ended;
  try {
    app.xWindow = x().waitForMap(exe, timeout(), [&] { return (ended = probe().wait(app.pid, 0)).has_value(); });
  } catch (const std::runtime_error&) {
    if (ended) throw std::runtime_error(exe + " ended with status " + hex32(*ended) + " before it showed a window");
    throw;
  }
  ProcessInfo info;
  waitUntil(exe + " has a visible top-level window", [&] {
    info = probe().info(app.pid);
    return !info.windows.empty();
  });
  if (info.windows.empty()) throw std::runtime_error(exe + " shows no window");
  app.window = info.windows.front();
  app.children = info.childrenOf(app.window.hwnd);
  if (!app.children.empty()) app.button = app.children.front();
  app.raw = info.raw;
  return app;
}

App StartwinTest::startReady() {
  App app = start();
  GuiInfo gui;
  bool ready = waitUntil("the window is active with the focus on its button", [&] {
    gui = probe().gui(app.tid);
    return gui.active == app.window.hwnd && gui.focus == app.button.hwnd &&
           x().isSameOrAncestor(app.xWindow, x().inputFocus());
  });
  if (!ready)
    ADD_FAILURE() << "active " << hex(gui.active) << ", focus " << hex(gui.focus) << ", X focus "
                  << hex(x().inputFocus()) << "\n" << app.raw;
  return app;
}

bool StartwinTest::waitUntil(const std::string& what, const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + timeout();
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "timed out after " << timeout().count() << " ms waiting until " << what;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::optional<std::uint32_t> StartwinTest::exitStatus(const App& app) {
  std::optional<std::uint32_t> status = probe().wait(app.pid, static_cast<unsigned>(timeout().count()));
  if (!status) ADD_FAILURE() << app.exe << " still runs " << timeout().count() << " ms later";
  return status;
}

void StartwinTest::expectExit(const App& app, std::uint32_t expected, const std::string& why) {
  if (std::optional<std::uint32_t> status = exitStatus(app)) {
    EXPECT_EQ(hex32(*status), hex32(expected)) << why;
  }
}

bool StartwinTest::waitForButtonCapture(const App& app, bool held) {
  std::optional<std::uint32_t> ended;
  bool done = waitUntil(std::string("the button ") + (held ? "takes" : "lets go of") + " the pointer capture", [&] {
    ended = probe().wait(app.pid, 0);
    return ended || (probe().gui(app.tid).capture == app.button.hwnd) == held;
  });
  if (ended) {
    ADD_FAILURE() << app.exe << " ended with status " << hex32(*ended) << " but should still run";
    return false;
  }
  return done;
}

void StartwinTest::expectRunningAndAnswering(const App& app) {
  // Posted messages overtake queued input, so WM_QUIT may only be posted
  // once the program has visibly handled the marker press; a capture held
  // from earlier input would make that proof worthless.
  GuiInfo before = probe().gui(app.tid);
  ASSERT_NE(before.capture, app.button.hwnd) << "the button still holds the capture from earlier input";
  x().moveTo(app.buttonCentreX(), app.buttonCentreY());
  x().press(1);
  if (!waitForButtonCapture(app, true)) return;
  probe().postQuit(app.tid, 7);
  expectExit(app, 7, "WM_QUIT 7 after the marker");
  x().release(1);
}

}  // namespace e2e
