#pragma once
// An in-memory window system that records, in order, what the core asks of
// it, and plays the platform's part back into the core the way the real one
// does (activation moves the focus, destruction reports the final destroy,
// a dispatched click report reaches the window).

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"

// Thrown by the fake's ExitProcess: the process ended with `status`.
struct FakeProcessExit {
  std::uint32_t status;
};

// Thrown when the core waits on an empty queue, where a real loop would
// block for ever.
struct FakeQueueBlocked {};

// A message the test puts in the queue, and what dispatching it does.
struct ScriptedMessage {
  Message message;
  std::function<void()> dispatch;
};

// The fake gives out handles in creation order from here: the first window
// is kFirstHandle, its first control kFirstHandle + 1.
constexpr WindowHandle kFirstHandle = 0x100;

class FakePlatform final : public Platform {
 public:
  struct Window {
    WindowHandle parent = kNoWindow;
    std::string text;
    bool visible = false;
    bool enabled = true;
    bool alive = true;
  };

  // The calls in order, each with " [suppressed]" while events are suppressed.
  std::vector<std::string> calls;
  std::map<WindowHandle, Window> windows;
  WindowHandle focus = kNoWindow;
  std::deque<ScriptedMessage> queue;

  // Settings a test may change before the run.
  std::string programPath = "C:\\Program Files\\startwin\\startwin.exe";
  Size screen = {1920, 1080};
  int titleBarHeight = 0;  // what an eager platform adds to a new window's height
  bool failWindow = false;
  bool failButton = false;
  // Hand out the handles of destroyed windows again, lowest first, as the
  // real system may.
  bool reuseHandles = false;
  // Print the full status and end the real process, for death tests.
  bool exitForReal = false;

  // Appends to the log; tests use it for their own handlers and routines.
  void Record(const std::string& call);
  WindowHandle LastTopLevel() const;
  WindowHandle LastButton() const;

  // Scripted messages.
  void QueueKey(WindowHandle target, Key key, char character = 0, bool shift = false,
                bool ctrl = false, bool alt = false);
  void QueueClickReport(WindowHandle button);
  void QueueCloseRequest(WindowHandle window);
  void QueueQuit(std::int32_t code);
  // A message whose dispatch records `name` and runs `action`.
  void QueueAction(const std::string& name, std::function<void()> action);
  // The platform deactivating `window` (another program came to the front).
  void Deactivate(WindowHandle window);

  int ProgramFilePath(char* buffer, int capacity) override;
  bool ChangeDirectory(const char* path) override;
  [[noreturn]] void ExitProcess(std::uint32_t status) override;
  void StartServices() override;
  void StopServices() override;
  Size PrimaryScreenSize() override;
  WindowHandle CreateTopLevelWindow(const TopLevelRequest& request) override;
  void ApplyFrameStyle(WindowHandle window, const FrameStyle& frame) override;
  Rect OuterRect(WindowHandle window) override;
  void MoveWindow(WindowHandle window, const Rect& outer) override;
  void SetDefaultIcons(WindowHandle window) override;
  void ReleaseSharedIcons() override;
  void UseDefaultGuiFont(WindowHandle windowOrControl) override;
  WindowHandle CreatePushButton(WindowHandle parent, const PushButtonRequest& request) override;
  void ShowWithoutActivating(WindowHandle control) override;
  void ShowAndActivate(WindowHandle window, ShowState state) override;
  ControlState QueryControl(WindowHandle window, WindowHandle control) override;
  void SetFocus(WindowHandle windowOrControl) override;
  void RequestClose(WindowHandle window) override;
  void DestroyWindow(WindowHandle window) override;
  void PostQuit(std::int32_t code) override;
  bool QueueEmpty() override;
  Message NextMessage() override;
  void TranslateAndDispatch() override;
  void ShowErrorBox(const char* caption, const char* text) override;

  // What the core last asked for, for the tests that look at values.
  TopLevelRequest lastTopLevel{};
  std::vector<PushButtonRequest> buttons;
  std::vector<Rect> moves;
  std::string errorCaption;
  std::string errorText;

 private:
  WindowHandle Add(WindowHandle parent, const char* text);
  std::map<WindowHandle, Rect> outer_;
  WindowHandle next_ = kFirstHandle;
  ScriptedMessage current_;
};

// Runs `body` to the fake process exit and returns the exit status; fails
// the test if it returns or blocks instead.
std::uint32_t RunToExit(const std::function<void()>& body);

// How many calls start with `prefix`.
int Count(const std::vector<std::string>& calls, const std::string& prefix);

// True when `expected` occurs in `calls` in this order, each entry matching
// a call that starts with it; prints both lists when not.
::testing::AssertionResult HappensInOrder(const std::vector<std::string>& calls,
                                          const std::vector<std::string>& expected);
