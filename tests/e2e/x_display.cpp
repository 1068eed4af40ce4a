#include "x_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <stdexcept>

namespace e2e {

namespace {

// Windows of other processes may vanish between an event and the query
// about them; such errors are expected and must not abort the test.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::string wmClassOf(Display* d, Window w) {
  XClassHint hint = {nullptr, nullptr};
  if (!XGetClassHint(d, w, &hint)) return {};
  std::string out = hint.res_class ? hint.res_class : "";
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return out;
}

}  // namespace

XDisplay::XDisplay(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
  if (!display_) throw std::runtime_error("cannot open X display " + name);
  XSetErrorHandler(ignoreErrors);
  int event, error, major, minor;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
    throw std::runtime_error("the X server " + name + " has no XTest extension");
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

XDisplay::~XDisplay() {
  releaseAll();
  XCloseDisplay(display_);
}

int XDisplay::screenWidth() const { return DisplayWidth(display_, DefaultScreen(display_)); }
int XDisplay::screenHeight() const { return DisplayHeight(display_, DefaultScreen(display_)); }

void XDisplay::sync() { XSync(display_, False); }

void XDisplay::forgetEvents() {
  sync();
  XEvent e;
  while (XPending(display_)) XNextEvent(display_, &e);
}

XId XDisplay::waitForMap(const std::string& wmClass, std::chrono::milliseconds timeout,
                         const std::function<bool()>& hopeless) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    while (XPending(display_)) {
      XEvent e;
      XNextEvent(display_, &e);
      if (e.type != MapNotify) continue;
      Window w = e.xmap.window;
      XWindowAttributes a;
      if (!XGetWindowAttributes(display_, w, &a) || a.map_state != IsViewable) continue;
      if (wmClassOf(display_, w) == wmClass) return w;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
      throw std::runtime_error("no window of class " + wmClass + " mapped within " +
                               std::to_string(timeout.count()) + " ms");
    if (hopeless()) throw std::runtime_error("no window of class " + wmClass + " will map");
    pollfd p = {ConnectionNumber(display_), POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 250)));
  }
}

XRect XDisplay::geometry(XId window) {
  Window root, child;
  int x, y, rx, ry;
  unsigned w, h, border, depth;
  if (!XGetGeometry(display_, window, &root, &x, &y, &w, &h, &border, &depth) ||
      !XTranslateCoordinates(display_, window, root, 0, 0, &rx, &ry, &child))
    throw std::runtime_error("X window is gone");
  return {rx, ry, w, h};
}

XId XDisplay::inputFocus() {
  Window focus;
  int revert;
  XGetInputFocus(display_, &focus, &revert);
  return focus;
}

bool XDisplay::isSameOrAncestor(XId ancestor, XId window) {
  while (window && window != PointerRoot) {
    if (window == ancestor) return true;
    Window root, parent, *children = nullptr;
    unsigned n;
    if (!XQueryTree(display_, window, &root, &parent, &children, &n)) return false;
    if (children) XFree(children);
    if (window == root) return false;
    window = parent;
  }
  return false;
}

void XDisplay::keyEvent(const std::string& key, bool down) {
  KeySym sym = XStringToKeysym(key.c_str());
  KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display_, sym);
  if (!code) throw std::runtime_error("the X keyboard map has no key " + key);
  XTestFakeKeyEvent(display_, code, down, CurrentTime);
  if (down) keysDown_.push_back(key);
  else keysDown_.erase(std::find(keysDown_.begin(), keysDown_.end(), key));
}

void XDisplay::tapKey(const std::string& key, const std::vector<std::string>& modifiers) {
  for (const std::string& m : modifiers) keyEvent(m, true);
  keyEvent(key, true);
  keyEvent(key, false);
  for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) keyEvent(*m, false);
  sync();
}

void XDisplay::moveTo(int x, int y) {
  XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
  sync();
}

void XDisplay::press(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  buttonsDown_.push_back(button);
  sync();
}

void XDisplay::release(unsigned button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  auto it = std::find(buttonsDown_.begin(), buttonsDown_.end(), button);
  if (it != buttonsDown_.end()) buttonsDown_.erase(it);
  sync();
}

void XDisplay::click(unsigned button) {
  press(button);
  release(button);
}

void XDisplay::releaseAll() {
  while (!buttonsDown_.empty()) release(buttonsDown_.back());
  while (!keysDown_.empty()) keyEvent(keysDown_.back(), false);
  sync();
}

std::uint32_t XDisplay::pixel(int x, int y) {
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) throw std::runtime_error("cannot read the screen at " + std::to_string(x) + "," + std::to_string(y));
  if (image->red_mask != 0xff0000 || image->green_mask != 0xff00 || image->blue_mask != 0xff) {
    XDestroyImage(image);
    throw std::runtime_error("the screen is not 24-bit RGB");
  }
  std::uint32_t value = static_cast<std::uint32_t>(XGetPixel(image, 0, 0)) & 0xffffff;
  XDestroyImage(image);
  return value;
}

}  // namespace e2e
