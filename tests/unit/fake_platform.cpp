#include "tests/unit/fake_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "lifecycle/lifecycle_state.h"
#include "startup_window/window_events.h"

void FakePlatform::Record(const std::string& call) {
  bool suppressed = Lifecycle().eventSuppressionCount > 0;
  calls.push_back(suppressed ? call + " [suppressed]" : call);
}

WindowHandle FakePlatform::LastTopLevel() const {
  WindowHandle found = kNoWindow;
  for (const auto& [handle, window] : windows) {
    if (window.parent == kNoWindow) found = handle;
  }
  return found;
}

WindowHandle FakePlatform::LastButton() const {
  WindowHandle found = kNoWindow;
  for (const auto& [handle, window] : windows) {
    if (window.parent != kNoWindow) found = handle;
  }
  return found;
}

WindowHandle FakePlatform::Add(WindowHandle parent, const char* text) {
  WindowHandle handle = kNoWindow;
  if (reuseHandles) {
    for (const auto& [used, window] : windows) {
      if (!window.alive) {
        handle = used;
        break;
      }
    }
  }
  if (handle == kNoWindow) handle = next_++;
  windows[handle] = Window{parent, text == nullptr ? "" : text};
  return handle;
}

void FakePlatform::QueueKey(WindowHandle target, Key key, char character, bool shift, bool ctrl,
                            bool alt) {
  Message message = {MessageKind::Input, target, 0, InputKind::KeyDown,
                     {key, character, shift, ctrl, alt}};
  std::string name = "dispatch key";
  queue.push_back({message, [this, name] { Record(name); }});
}

void FakePlatform::QueueClickReport(WindowHandle button) {
  Message message = {MessageKind::Other, LastTopLevel(), 0, {}, {}};
  queue.push_back({message, [this, button] {
                     Record("dispatch click report");
                     OnControlNotification(windows[button].parent, button,
                                           ControlNotification::Clicked);
                   }});
}

void FakePlatform::QueueCloseRequest(WindowHandle window) {
  Message message = {MessageKind::Other, window, 0, {}, {}};
  queue.push_back({message, [window] { OnCloseRequested(window); }});
}

void FakePlatform::QueueAction(const std::string& name, std::function<void()> action) {
  Message message = {MessageKind::Other, kNoWindow, 0, {}, {}};
  queue.push_back({message, [this, name, action] {
                     Record(name);
                     action();
                   }});
}

void FakePlatform::QueueQuit(std::int32_t code) {
  queue.push_back({{MessageKind::Quit, kNoWindow, code, {}, {}}, nullptr});
}

void FakePlatform::Deactivate(WindowHandle window) {
  Record("deactivate");
  OnWindowDeactivated(window, focus);
  SetFocus(kNoWindow);
}

int FakePlatform::ProgramFilePath(char* buffer, int capacity) {
  if (static_cast<int>(programPath.size()) >= capacity) return 0;
  std::memcpy(buffer, programPath.c_str(), programPath.size() + 1);
  return static_cast<int>(programPath.size());
}

bool FakePlatform::ChangeDirectory(const char* path) {
  Record(std::string("ChangeDirectory ") + path);
  return true;
}

void FakePlatform::ExitProcess(std::uint32_t status) {
  char text[32];
  std::snprintf(text, sizeof text, "ExitProcess 0x%08X", status);
  Record(text);
  if (exitForReal) {
    std::fprintf(stderr, "exit status 0x%08X\n", status);
    std::fflush(stderr);
    std::_Exit(static_cast<int>(status & 0xFF));
  }
  throw FakeProcessExit{status};
}

void FakePlatform::StartServices() { Record("StartServices"); }
void FakePlatform::StopServices() { Record("StopServices"); }
Size FakePlatform::PrimaryScreenSize() { return screen; }

WindowHandle FakePlatform::CreateTopLevelWindow(const TopLevelRequest& request) {
  Record("CreateTopLevelWindow");
  lastTopLevel = request;
  if (failWindow) return kNoWindow;
  WindowHandle handle = Add(kNoWindow, request.text);
  Rect outer = request.outer;
  outer.bottom += titleBarHeight;
  outer_[handle] = outer;
  return handle;
}

// Like the real one, changing the frame keeps the outer rectangle.
void FakePlatform::ApplyFrameStyle(WindowHandle, const FrameStyle&) { Record("ApplyFrameStyle"); }

Rect FakePlatform::OuterRect(WindowHandle window) { return outer_[window]; }

void FakePlatform::MoveWindow(WindowHandle window, const Rect& outer) {
  Record("MoveWindow");
  moves.push_back(outer);
  outer_[window] = outer;
}

void FakePlatform::SetDefaultIcons(WindowHandle) { Record("SetDefaultIcons"); }
void FakePlatform::ReleaseSharedIcons() { Record("ReleaseSharedIcons"); }

void FakePlatform::UseDefaultGuiFont(WindowHandle windowOrControl) {
  Record(windows[windowOrControl].parent == kNoWindow ? "UseDefaultGuiFont window"
                                                      : "UseDefaultGuiFont button");
}

WindowHandle FakePlatform::CreatePushButton(WindowHandle parent, const PushButtonRequest& request) {
  Record(std::string("CreatePushButton ") + request.text);
  buttons.push_back(request);
  if (failButton) return kNoWindow;
  WindowHandle handle = Add(parent, request.text);
  windows[handle].enabled = !request.disabled;
  return handle;
}

void FakePlatform::ShowWithoutActivating(WindowHandle control) {
  Record("ShowWithoutActivating " + windows[control].text);
  windows[control].visible = true;
}

void FakePlatform::ShowAndActivate(WindowHandle window, ShowState) {
  Record("ShowAndActivate");
  windows[window].visible = true;
  OnWindowActivated(window);
  // The default handling of the activation gives the window the focus.
  SetFocus(window);
}

ControlState FakePlatform::QueryControl(WindowHandle window, WindowHandle control) {
  auto found = windows.find(control);
  if (found == windows.end() || !found->second.alive || found->second.parent != window) {
    return {false, false, false};
  }
  return {true, found->second.visible, found->second.enabled};
}

void FakePlatform::SetFocus(WindowHandle windowOrControl) {
  WindowHandle previous = focus;
  if (previous == windowOrControl) return;
  focus = windowOrControl;
  if (windowOrControl != kNoWindow) Record("SetFocus " + windows[windowOrControl].text);
  if (previous != kNoWindow && windows[previous].parent != kNoWindow) {
    OnControlFocusChanged(previous, false);
  }
  if (windowOrControl == kNoWindow) return;
  if (windows[windowOrControl].parent == kNoWindow) {
    OnWindowFocused(windowOrControl);
  } else {
    OnControlFocusChanged(windowOrControl, true);
  }
}

void FakePlatform::RequestClose(WindowHandle window) {
  Record("RequestClose");
  OnCloseRequested(window);
}

void FakePlatform::DestroyWindow(WindowHandle window) {
  Record("DestroyWindow");
  if (focus != kNoWindow && (focus == window || windows[focus].parent == window)) {
    SetFocus(kNoWindow);
  }
  windows[window].alive = false;
  windows[window].visible = false;
  Record("destroyed window");
  for (auto& [handle, child] : windows) {
    if (child.parent == window && child.alive) {
      child.alive = false;
      Record("destroyed control " + child.text);
    }
  }
  OnWindowDestroyed(window);
}

void FakePlatform::PostQuit(std::int32_t code) {
  Record("PostQuit " + std::to_string(code));
  QueueQuit(code);
}

bool FakePlatform::QueueEmpty() { return queue.empty(); }

Message FakePlatform::NextMessage() {
  if (queue.empty()) throw FakeQueueBlocked{};
  current_ = queue.front();
  queue.pop_front();
  return current_.message;
}

void FakePlatform::TranslateAndDispatch() {
  if (current_.dispatch) current_.dispatch();
}

void FakePlatform::ShowErrorBox(const char* caption, const char* text) {
  Record("ShowErrorBox");
  errorCaption = caption;
  errorText = text;
}

std::uint32_t RunToExit(const std::function<void()>& body) {
  try {
    body();
  } catch (const FakeProcessExit& exit) {
    return exit.status;
  } catch (const FakeQueueBlocked&) {
    ADD_FAILURE() << "the event loop waited on an empty queue";
    return 0xDEADBEEF;
  }
  ADD_FAILURE() << "returned instead of ending the process";
  return 0xDEADBEEF;
}

int Count(const std::vector<std::string>& calls, const std::string& prefix) {
  int count = 0;
  for (const std::string& call : calls) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

::testing::AssertionResult HappensInOrder(const std::vector<std::string>& calls,
                                          const std::vector<std::string>& expected) {
  size_t next = 0;
  for (const std::string& call : calls) {
    if (next < expected.size() && call.rfind(expected[next], 0) == 0) ++next;
  }
  if (next == expected.size()) return ::testing::AssertionSuccess();
  std::ostringstream message;
  message << "missing or out of order: \"" << expected[next] << "\"\nexpected in order:\n";
  for (const std::string& entry : expected) message << "  " << entry << "\n";
  message << "calls:\n";
  for (const std::string& call : calls) message << "  " << call << "\n";
  return ::testing::AssertionFailure() << message.str();
}
