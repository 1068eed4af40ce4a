#pragma once
// The narrow interface through which the core reaches the window system and
// the process. The core decides; an implementation only carries out.

#include <cstdint>

// An opaque window or control; 0 is none.
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

struct Rect {
  int left;
  int top;
  int right;
  int bottom;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width;
  int height;
};

// The style settings that a top-level window's frame is made of.
struct FrameStyle {
  bool border;
  bool titleBar;
  bool systemMenu;
  bool minimizeBox;
  bool maximizeBox;
};

struct TopLevelRequest {
  FrameStyle frame;
  bool clipChildren;
  bool disabled;
  Rect outer;
  const char* text;  // multibyte, handed over unchanged
};

enum class HorizontalAlign { Left, Centre, Right };
enum class VerticalAlign { Top, Centre, Bottom };

struct PushButtonRequest {
  std::uint32_t controlId;
  const char* text;  // multibyte, handed over unchanged
  Rect bounds;       // client coordinates of the parent
  HorizontalAlign horizontal;
  VerticalAlign vertical;
  bool defaultButton;
  bool tabStop;
  bool disabled;
};

enum class ShowState { Normal, Minimized, Maximized };

struct ControlState {
  bool existsInWindow;
  bool visible;
  bool enabled;
};

// The keys the window's keyboard handling looks at; Space and Alt+F4 are the
// controls' and the platform's own, and reach them as Other.
enum class Key { Other, Escape, Enter, Tab, Left, Right, Up, Down, F1, Alphanumeric };

struct KeyStroke {
  Key key;
  char character;  // upper-case letter or digit for Key::Alphanumeric
  bool shift;
  bool ctrl;
  bool alt;
};

enum class MessageKind { Quit, Input, Other };
enum class InputKind { PointerDown, PointerUp, PointerMove, KeyDown, KeyUp, Character };

// What the core needs to know of a message it takes from the queue.
struct Message {
  MessageKind kind;
  WindowHandle target;
  std::int32_t quitCode;  // Quit
  InputKind input;        // Input
  KeyStroke key;          // Input KeyDown
};

enum class ControlNotification { Clicked, Other };

class Platform {
 public:
  // Process services.
  // Writes the program file's full path; returns its length, 0 on failure.
  virtual int ProgramFilePath(char* buffer, int capacity) = 0;
  virtual bool ChangeDirectory(const char* path) = 0;
  [[noreturn]] virtual void ExitProcess(std::uint32_t status) = 0;
  // Window-system services the program brings up at start (its window class).
  virtual void StartServices() = 0;
  virtual void StopServices() = 0;

  // Building windows.
  virtual Size PrimaryScreenSize() = 0;
  virtual WindowHandle CreateTopLevelWindow(const TopLevelRequest& request) = 0;
  virtual void ApplyFrameStyle(WindowHandle window, const FrameStyle& frame) = 0;
  virtual Rect OuterRect(WindowHandle window) = 0;
  virtual void MoveWindow(WindowHandle window, const Rect& outer) = 0;
  // The program's default large and small icons, loaded once and shared.
  virtual void SetDefaultIcons(WindowHandle window) = 0;
  virtual void ReleaseSharedIcons() = 0;
  virtual void UseDefaultGuiFont(WindowHandle windowOrControl) = 0;
  virtual WindowHandle CreatePushButton(WindowHandle parent, const PushButtonRequest& request) = 0;
  virtual void ShowWithoutActivating(WindowHandle control) = 0;
  virtual void ShowAndActivate(WindowHandle window, ShowState state) = 0;

  // Focus and closing.
  virtual ControlState QueryControl(WindowHandle window, WindowHandle control) = 0;
  virtual void SetFocus(WindowHandle windowOrControl) = 0;
  // Asks the window to close exactly as the platform's own close request does.
  virtual void RequestClose(WindowHandle window) = 0;
  // Destroys a top-level window; its controls go with it, after it.
  virtual void DestroyWindow(WindowHandle window) = 0;

  // The thread's message queue.
  virtual void PostQuit(std::int32_t code) = 0;
  virtual bool QueueEmpty() = 0;
  // Waits for the next message and takes it.
  virtual Message NextMessage() = 0;
  // Translates the message NextMessage took last (a key yields its
  // character) and dispatches it to the window it is addressed to.
  virtual void TranslateAndDispatch() = 0;

  // A modal box with the error icon and one OK button, owned by no window.
  virtual void ShowErrorBox(const char* caption, const char* text) = 0;

 protected:
  ~Platform() = default;
};

// Ends the process through `platform`. The compiler does not carry
// [[noreturn]] across a virtual call, so this says it once for every caller.
[[noreturn]] inline void EndProcess(Platform& platform, std::uint32_t status) {
  platform.ExitProcess(status);
  __builtin_unreachable();
}
