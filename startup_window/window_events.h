#pragma once
// What the window system reports about program windows. The platform layer
// calls these from its window procedures; the decisions are made here.

#include <cstdint>

#include "platform/platform.h"

// A close request of any kind: the window is destroyed at once.
void OnCloseRequested(WindowHandle window);
// The final destruction of a top-level window.
void OnWindowDestroyed(WindowHandle window);
void OnWindowActivated(WindowHandle window);
// `focused` is the control that held the focus, or kNoWindow.
void OnWindowDeactivated(WindowHandle window, WindowHandle focused);
// The window itself received the keyboard focus: it passes it on.
void OnWindowFocused(WindowHandle window);
void OnControlFocusChanged(WindowHandle control, bool gained);
void OnControlNotification(WindowHandle window, WindowHandle control, ControlNotification code);
// A pointer or key message taken from the queue for a program window or
// one of its controls. Returns true when the window's keyboard handling
// consumed it.
bool OnInputMessage(const Message& message);
// Raised each time the queue is empty, before the loop waits.
void OnIdle();

struct Background {
  bool systemButtonFace;
  std::uint32_t rgb;  // red in the low byte; used unless systemButtonFace
};
Background WindowBackground(WindowHandle window);
