#pragma once
// The declarative definition of a window and its controls. Templates are
// constant data; the builder reads them and nothing writes them.

#include <cstdint>

#include "startup_window/control_id.h"
#include "startup_window/event_binding.h"

enum class ElementKind { Window, Button };
enum class MousePointer { Default };

// Properties every element has.
struct CommonProperties {
  int left;
  int top;
  int width;
  int height;
  const char* tag;
  bool visible;
  bool disabled;
  bool tabStop;
  int tabOrder;
  MousePointer mousePointer;
  const EventBinding* bindings;
  int bindingCount;
};

// Marks a window colour as "the system's button-face colour"; any other value
// is a literal colour, red in the low byte.
constexpr std::uint32_t kDefaultBackColor = 0xFF000000;

enum class StartPosition { AtLeftTop = 0, Centred = 1, Minimized = 2, Maximized = 3 };

struct WindowProperties {
  const char* caption;
  int borderStyle;  // 0: no frame, title bar or system menu
  std::uint32_t backColor;
  const char* backPicture;
  int backPictureMode;
  const char* backSound;
  int backSoundRepeat;
  bool controlBox;
  bool maximizeBox;
  bool minimizeBox;
  StartPosition startPosition;
  bool movable;
  const char* icon;  // null: the program's default icon
  bool enterMovesFocus;
  bool escCloses;
  bool f1OpensHelp;
  const char* helpFile;
  int helpContext;
  bool showInTaskBar;
  bool dragToMove;
  int shape;
  bool alwaysOnTop;
  bool keepTitleBarActive;
  const char* windowClassName;  // empty: the default top-level class
};

enum class ButtonKind { Ordinary = 0, Default = 1 };

struct ButtonProperties {
  const char* picture;
  ButtonKind buttonKind;
  const char* caption;
  int horizontalAlign;  // 0 left, 1 centre, 2 right
  int verticalAlign;    // 0 top, 1 centre, 2 bottom
  const char* font;     // null: the platform's default GUI font
};

struct Element {
  ElementKind kind;
  const char* kindName;  // multibyte
  const char* name;      // multibyte, never shown
  ControlId id;
  CommonProperties common;
  const WindowProperties* window;  // kind Window
  const ButtonProperties* button;  // kind Button
};

// Elements in template order; the window's own element comes first.
struct WindowTemplate {
  ControlId id;
  const Element* elements;
  int elementCount;
};

// The templates the program holds.
struct TemplateLibrary {
  const WindowTemplate* const* templates;
  int count;
};
