// A storm of random real input: keys with and without modifiers, clicks off
// the button, right clicks anywhere, presses on the button released
// elsewhere. None of it may end the program, and afterwards it still has
// the focus on its button and still closes on Esc.
//
// Left out is only what ends the program by design: a press of the button
// (a click on it, Space), Esc with none of Shift, Ctrl and Alt, and Alt+F4.
//
// The seed is random per run and printed; STARTWIN_STORM_SEED=N replays a
// run's inputs exactly.
#include <cinttypes>
#include <cstdlib>
#include <random>
#include <sstream>

#include "startwin_test.h"

namespace e2e {
namespace {

constexpr int kInputs = 400;

const char* const kKeys[] = {
    "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s",
    "t", "u", "v", "w", "x", "y", "z", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "Return", "Tab", "Left", "Right", "Up", "Down", "F1", "F2", "F3", "F4", "F5", "F6", "F7",
    "F8", "F9", "F10", "F11", "F12", "Home", "End", "Prior", "Next", "Insert", "Delete", "Escape"};
const char* const kModifiers[] = {"Shift_L", "Control_L", "Alt_L"};

// One input of the storm, as sent and as logged.
struct Input {
  enum Kind { Key, ClickOffButton, RightClick, PressOnButtonReleaseElsewhere } kind;
  std::string key;
  std::vector<std::string> modifiers;
  int x = 0, y = 0;    // where the pointer presses
  int x2 = 0, y2 = 0;  // where it lets go, for a press released elsewhere
};

std::string describe(const Input& input) {
  std::ostringstream out;
  switch (input.kind) {
    case Input::Key:
      for (const std::string& m : input.modifiers) out << m << "+";
      out << input.key;
      break;
    case Input::ClickOffButton: out << "click(" << input.x << "," << input.y << ")"; break;
    case Input::RightClick: out << "rclick(" << input.x << "," << input.y << ")"; break;
    case Input::PressOnButtonReleaseElsewhere:
      out << "press(" << input.x << "," << input.y << ")release(" << input.x2 << "," << input.y2 << ")";
      break;
  }
  return out.str();
}

bool inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The inputs of one storm: a function of the seed and the window's place only.
class StormMaker {
 public:
  StormMaker(std::uint64_t seed, const App& app, int screenW, int screenH)
      : random_(seed), window_(app.window.rect), button_(app.button.rect), screenW_(screenW), screenH_(screenH) {}

  Input next() {
    switch (pick(8)) {
      case 0: return clickOffButton();
      case 1: return rightClick();
      case 2: return pressOnButtonReleaseElsewhere();
      default: return key();
    }
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  int between(long low, long high) { return static_cast<int>(std::uniform_int_distribution<long>(low, high - 1)(random_)); }

  Input key() {
    for (;;) {
      Input input{Input::Key, kKeys[pick(std::size(kKeys))], {}};
      for (const char* modifier : kModifiers)
        if (pick(3) == 0) input.modifiers.push_back(modifier);
      bool alt = false;
      for (const std::string& m : input.modifiers) alt = alt || m == "Alt_L";
      // Esc alone closes the window and Alt+F4 asks it to close.
      if (input.key == "Escape" && input.modifiers.empty()) continue;
      if (input.key == "F4" && alt) continue;
      return input;
    }
  }

  // A point of the visible screen inside `area` but not inside `hole`.
  void pointIn(const Rect& area, const Rect* hole, int& x, int& y) {
    Rect r{std::max(0L, area.left), std::max(0L, area.top), std::min<long>(screenW_, area.right),
           std::min<long>(screenH_, area.bottom)};
    do {
      x = between(r.left, r.right);
      y = between(r.top, r.bottom);
    } while (hole != nullptr && inside(*hole, x, y));
  }

  Input clickOffButton() {
    Input input{Input::ClickOffButton, "", {}};
    pointIn(window_, &button_, input.x, input.y);
    return input;
  }

  Input rightClick() {
    Input input{Input::RightClick, "", {}};
    pointIn(Rect{0, 0, screenW_, screenH_}, nullptr, input.x, input.y);
    return input;
  }

  Input pressOnButtonReleaseElsewhere() {
    Input input{Input::PressOnButtonReleaseElsewhere, "", {}};
    pointIn(button_, nullptr, input.x, input.y);
    pointIn(Rect{0, 0, screenW_, screenH_}, &button_, input.x2, input.y2);
    return input;
  }

  std::mt19937_64 random_;
  Rect window_, button_;
  long screenW_, screenH_;
};

void send(XDisplay& x, const Input& input) {
  switch (input.kind) {
    case Input::Key: x.tapKey(input.key, input.modifiers); break;
    case Input::ClickOffButton:
      x.moveTo(input.x, input.y);
      x.click(1);
      break;
    case Input::RightClick:
      x.moveTo(input.x, input.y);
      x.click(3);
      break;
    case Input::PressOnButtonReleaseElsewhere:
      x.moveTo(input.x, input.y);
      x.press(1);
      x.moveTo(input.x2, input.y2);
      x.release(1);
      break;
  }
}

std::uint64_t stormSeed() {
  if (const char* given = std::getenv("STARTWIN_STORM_SEED")) return std::strtoull(given, nullptr, 0);
  std::random_device device;
  return (std::uint64_t{device()} << 32) | device();
}

using Storm = StartwinTest;

TEST_F(Storm, OfRandomInputEndsNothingAndLeavesTheFocusOnTheButton) {
  const std::uint64_t seed = stormSeed();
  App app = startReady();
  StormMaker maker(seed, app, x().screenWidth(), x().screenHeight());

  std::string sent;
  std::uint64_t digest = 1469598103934665603ull;  // FNV-1a of the inputs, to compare replays
  for (int i = 0; i < kInputs; ++i) {
    Input input = maker.next();
    std::string text = describe(input);
    for (char c : text + " ") digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    sent += text + " ";
    send(x(), input);
  }
  std::printf("storm: seed %" PRIu64 " (replay with STARTWIN_STORM_SEED=%" PRIu64 "), %d inputs, digest %016" PRIx64
              "\n",
              seed, seed, kInputs, digest);
  SCOPED_TRACE("storm seed " + std::to_string(seed) + ", inputs: " + sent);

  // Input is handled in order: once the button holds the capture of a press
  // sent after the storm, the program has handled all of the storm.
  x().moveTo(app.buttonCentreX(), app.buttonCentreY());
  x().press(1);
  ASSERT_TRUE(waitForButtonCapture(app, true));
  x().moveTo(static_cast<int>(app.window.rect.left) + 8, static_cast<int>(app.window.rect.bottom) - 8);
  x().release(1);
  ASSERT_TRUE(waitForButtonCapture(app, false));

  GuiInfo gui = probe().gui(app.tid);
  EXPECT_EQ(hex(gui.active), hex(app.window.hwnd)) << "the window is still the active one";
  EXPECT_EQ(hex(gui.focus), hex(app.button.hwnd)) << "the button still has the focus";
  EXPECT_TRUE(waitUntil("the window still has the X focus",
                        [&] { return x().isSameOrAncestor(app.xWindow, x().inputFocus()); }));
  x().tapKey("Escape");
  expectExit(app, 0, "Esc after the storm");
}

}  // namespace
}  // namespace e2e
