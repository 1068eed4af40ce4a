// The test's own connection to the X server: window maps, real input
// through XTest, and pixels.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display, kept out of the tests' namespace

namespace e2e {

using XId = unsigned long;

struct XRect {
  int x = 0, y = 0;
  unsigned width = 0, height = 0;
};

class XDisplay {
 public:
  explicit XDisplay(const std::string& name);
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;
  ~XDisplay();

  int screenWidth() const;
  int screenHeight() const;

  // Maps are reported from the moment the connection opens. Forget those
  // seen so far before starting a program, then wait for its window.
  void forgetEvents();
  // The next viewable window to map whose WM_CLASS is `wmClass`; throws
  // when none maps in time, or as soon as `hopeless` says none will (it is
  // asked every quarter of a second while no map arrives).
  XId waitForMap(const std::string& wmClass, std::chrono::milliseconds timeout,
                 const std::function<bool()>& hopeless);

  XRect geometry(XId window);  // in root (= screen) coordinates
  XId inputFocus();
  bool isSameOrAncestor(XId ancestor, XId window);

  // Keys by keysym name ("Escape", "F4", "Alt_L", "a"); the modifiers are
  // held down around the key, pressed in order and released in reverse.
  void tapKey(const std::string& key, const std::vector<std::string>& modifiers = {});
  void moveTo(int x, int y);
  void press(unsigned button);
  void release(unsigned button);
  void click(unsigned button);
  // Lets go of anything a failed test left held.
  void releaseAll();

  std::uint32_t pixel(int x, int y);  // 0xRRGGBB

 private:
  void keyEvent(const std::string& key, bool down);
  void sync();
  ::_XDisplay* display_;
  std::vector<unsigned> buttonsDown_;
  std::vector<std::string> keysDown_;
};

}  // namespace e2e
