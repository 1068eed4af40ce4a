// What every end-to-end test shares: the session of this test process and
// a fixture that starts copies of the program and ends them afterwards.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session.h"

namespace e2e {

Session& session();  // set up by main() before any test runs

// How long the tests wait for the program to react: 10 s, scaled for slow
// machines.
std::chrono::milliseconds timeout();

// Win32 values the tests compare against.
namespace win {
constexpr std::uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000,
                        WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
                        WS_MINIMIZEBOX = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr std::uint32_t BS_PUSHBUTTON = 0x0, BS_CENTER = 0x300, BS_VCENTER = 0xC00, BS_MULTILINE = 0x2000;
constexpr std::uint32_t SS_TYPEMASK = 0x1F, SS_ICON = 0x3;
constexpr std::uint64_t IDOK = 1;
}  // namespace win

// One running copy of a program, as it looked once its window mapped.
struct App {
  std::string exe;
  std::uint32_t pid = 0, tid = 0;
  XId xWindow = 0;
  WindowInfo window;  // its visible top-level window
  std::vector<WindowInfo> children;
  WindowInfo button;  // the first child, if any
  std::string raw;    // the probe's report, for failure messages

  int buttonCentreX() const { return static_cast<int>((button.rect.left + button.rect.right) / 2); }
  int buttonCentreY() const { return static_cast<int>((button.rect.top + button.rect.bottom) / 2); }
};

class StartwinTest : public ::testing::Test {
 public:
  void TearDown() override;

  XDisplay& x() { return session().x(); }
  ProbeClient& probe() { return session().probe(); }

  // Starts a program of the build under test and returns once its window maps.
  App start(const std::string& exe = "startwin.exe");
  // start(), then waits until the window is active with the keyboard focus
  // on the button, also in X (where the keys go).
  App startReady();

  // Polls `done` until it holds or the time-out passes; fails naming `what`.
  bool waitUntil(const std::string& what, const std::function<bool()>& done);
  // The full 32-bit exit status; nothing (and a test failure) if it runs on.
  std::optional<std::uint32_t> exitStatus(const App& app);
  // Waits for the end and compares the full status.
  void expectExit(const App& app, std::uint32_t expected, const std::string& why = "");
  // Waits until the program has handled a primary press on its button
  // (the button holds the pointer capture) or, with `held` false, the
  // release after it. Fails if the program ends meanwhile.
  bool waitForButtonCapture(const App& app, bool held);
  // Proof that the program handled all input sent so far without ending:
  // the pointer presses the button and the button takes the capture (input
  // is handled in order); WM_QUIT 7 then ends it with status 7. Sound only
  // if the button held no capture before; an input that presses the button
  // must wait for its release with waitForButtonCapture(app, false).
  void expectRunningAndAnswering(const App& app);

 private:
  std::vector<std::uint32_t> started_;
};

std::string hex32(std::uint32_t value);

}  // namespace e2e
