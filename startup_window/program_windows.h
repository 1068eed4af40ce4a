#pragma once
// The windows the program has built from its templates, and the lookups the
// event routing needs. The records live in the lifecycle state.

#include "platform/platform.h"
#include "startup_window/window_template.h"

constexpr int kMaxControls = 16;
constexpr int kMaxProgramWindows = 4;

// Owns a top-level window until it is destroyed. Move-only, released
// explicitly: the process exit runs no destructors.
class OwnedWindow {
 public:
  OwnedWindow() = default;
  explicit OwnedWindow(WindowHandle handle) : handle_(handle) {}
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  OwnedWindow(OwnedWindow&& other) noexcept : handle_(other.Release()) {}
  OwnedWindow& operator=(OwnedWindow&& other) noexcept {
    handle_ = other.Release();
    return *this;
  }

  WindowHandle get() const { return handle_; }
  // Gives up ownership, for a window that is being or has been destroyed.
  WindowHandle Release() {
    WindowHandle handle = handle_;
    handle_ = kNoWindow;
    return handle;
  }

 private:
  WindowHandle handle_ = kNoWindow;
};

// A control of a built window. The window owns it: the handle is borrowed.
struct LoadedControl {
  const Element* element;
  WindowHandle handle;
};

struct ProgramWindow {
  const WindowTemplate* source = nullptr;  // null: a free record
  OwnedWindow window;
  LoadedControl controls[kMaxControls] = {};
  int controlCount = 0;
  // The control that had the focus when the window was last deactivated,
  // until the window receives the focus again; kNoWindow when none.
  WindowHandle focusAtDeactivation = kNoWindow;

  const Element& OwnElement() const { return source->elements[0]; }
  const WindowProperties& Properties() const { return *OwnElement().window; }
};

struct ProgramWindows {
  ProgramWindow records[kMaxProgramWindows];
};

// A new record for a window being built from `source`; null when full.
ProgramWindow* AddProgramWindow(const WindowTemplate& source);
// Frees the record of a window that is gone, all of it at once, so that
// nothing it knew of the window reaches a window built in its place.
void FreeProgramWindow(ProgramWindow& record);
ProgramWindow* FindProgramWindow(WindowHandle window);
ProgramWindow* FindLoadedTemplate(ControlId templateId);
// The window a control belongs to, and the control's record.
ProgramWindow* FindControlOwner(WindowHandle control, const LoadedControl** found);
// Program windows that exist; windows of the platform's own never count.
int CountProgramWindows();

const Element* FindElement(const WindowTemplate& source, ControlId elementId);
