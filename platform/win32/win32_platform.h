#pragma once
// The platform over USER32, GDI32 and KERNEL32.

#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/handles.h"

class Win32Platform final : public Platform {
 public:
  explicit Win32Platform(HINSTANCE instance) : instance_(instance) {}

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

 private:
  HINSTANCE instance_;
  RegisteredClass windowClass_;
  SharedIcons icons_;
  MSG current_{};
};
