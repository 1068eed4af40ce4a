#pragma once
// Owners of the Win32 handles the platform layer acquires. Move-only and
// released explicitly, in the shutdown's order: the process exit runs no
// destructors.

#include <windows.h>

// A registered window class.
class RegisteredClass {
 public:
  RegisteredClass() = default;
  RegisteredClass(ATOM atom, HINSTANCE instance) : atom_(atom), instance_(instance) {}
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;
  RegisteredClass(RegisteredClass&& other) noexcept : atom_(other.atom_), instance_(other.instance_) {
    other.atom_ = 0;
  }
  RegisteredClass& operator=(RegisteredClass&& other) noexcept {
    Release();
    atom_ = other.atom_;
    instance_ = other.instance_;
    other.atom_ = 0;
    return *this;
  }

  LPCSTR Name() const { return MAKEINTATOM(atom_); }
  void Release() {
    if (atom_ != 0) UnregisterClassA(MAKEINTATOM(atom_), instance_);
    atom_ = 0;
  }

 private:
  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
};

// The program's icons. Loaded shared, so the system owns them: they are
// borrowed here and never destroyed.
struct SharedIcons {
  HICON large = nullptr;
  HICON small = nullptr;
};

// A paint in progress; EndPaint runs when it goes out of scope.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }

  HDC dc() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};
