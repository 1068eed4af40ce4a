#include "startup_window/window_builder.h"

#include "lifecycle/lifecycle_state.h"

namespace {

constexpr HorizontalAlign kHorizontalAligns[] = {HorizontalAlign::Left, HorizontalAlign::Centre,
                                                 HorizontalAlign::Right};
constexpr VerticalAlign kVerticalAligns[] = {VerticalAlign::Top, VerticalAlign::Centre,
                                             VerticalAlign::Bottom};

Rect Bounds(const CommonProperties& common) {
  return {common.left, common.top, common.left + common.width, common.top + common.height};
}

PushButtonRequest ButtonRequestFor(const Element& element) {
  const ButtonProperties& button = *element.button;
  return {
      .controlId = element.id,
      .text = button.caption,
      .bounds = Bounds(element.common),
      .horizontal = kHorizontalAligns[button.horizontalAlign],
      .vertical = kVerticalAligns[button.verticalAlign],
      .defaultButton = button.buttonKind == ButtonKind::Default,
      .tabStop = element.common.tabStop,
      .disabled = element.common.disabled,
  };
}

// Step 1: the window, hidden, with its frame set to exactly what the
// properties give and its outer rectangle checked.
WindowHandle CreateTopLevel(const Element& element) {
  Platform& platform = ThePlatform();
  const WindowProperties& properties = *element.window;
  Rect outer = PlaceWindow(element, platform.PrimaryScreenSize());
  TopLevelRequest request = {
      .frame = FrameFor(properties),
      .clipChildren = true,
      .disabled = element.common.disabled,
      .outer = outer,
      .text = properties.caption,
  };
  WindowHandle window = platform.CreateTopLevelWindow(request);
  if (window == kNoWindow) return kNoWindow;
  // A title bar that the platform adds to top-level windows of its own
  // accord goes again here.
  platform.ApplyFrameStyle(window, request.frame);
  if (!(platform.OuterRect(window) == outer)) platform.MoveWindow(window, outer);
  return window;
}

}  // namespace

Rect PlaceWindow(const Element& windowElement, Size screen) {
  const CommonProperties& common = windowElement.common;
  int left = common.left;
  int top = common.top;
  if (windowElement.window->startPosition == StartPosition::Centred) {
    left = (screen.width - common.width) / 2;
    top = (screen.height - common.height) / 2;
  }
  return {left, top, left + common.width, top + common.height};
}

FrameStyle FrameFor(const WindowProperties& properties) {
  bool framed = properties.borderStyle != 0;
  return {
      .border = framed,
      .titleBar = framed,
      .systemMenu = framed && properties.controlBox,
      .minimizeBox = properties.minimizeBox,
      .maximizeBox = properties.maximizeBox,
  };
}

ShowState FirstShowState(const WindowProperties& properties) {
  switch (properties.startPosition) {
    case StartPosition::Minimized: return ShowState::Minimized;
    case StartPosition::Maximized: return ShowState::Maximized;
    default: return ShowState::Normal;
  }
}

ProgramWindow* BuildWindow(const WindowTemplate& source) {
  Platform& platform = ThePlatform();
  ProgramWindow* record = AddProgramWindow(source);
  if (record == nullptr) return nullptr;
  const Element& own = source.elements[0];
  WindowHandle window = CreateTopLevel(own);
  if (window == kNoWindow) return nullptr;
  record->window = OwnedWindow(window);

  platform.SetDefaultIcons(window);
  platform.UseDefaultGuiFont(window);

  for (int i = 1; i < source.elementCount; ++i) {
    const Element& element = source.elements[i];
    if (element.kind != ElementKind::Button) continue;
    if (record->controlCount == kMaxControls) return nullptr;
    WindowHandle button = platform.CreatePushButton(window, ButtonRequestFor(element));
    if (button == kNoWindow) return nullptr;
    record->controls[record->controlCount++] = {&element, button};
    platform.UseDefaultGuiFont(button);
  }

  for (int i = 0; i < record->controlCount; ++i) {
    if (record->controls[i].element->common.visible) {
      platform.ShowWithoutActivating(record->controls[i].handle);
    }
  }
  return record;
}
