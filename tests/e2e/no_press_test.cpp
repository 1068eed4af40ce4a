// Input that must leave the program running: each is followed by the
// marker of expectRunningAndAnswering, which proves the input was handled.
#include "startwin_test.h"

namespace e2e {
namespace {

struct Input {
  const char* name;
  std::function<void(StartwinTest&, XDisplay&, const App&)> send;
};

void PrintTo(const Input& input, std::ostream* out) { *out << input.name; }

class KeepsRunning : public StartwinTest, public ::testing::WithParamInterface<Input> {};

TEST_P(KeepsRunning, AfterInput) {
  App app = startReady();
  GetParam().send(*this, x(), app);
  expectRunningAndAnswering(app);
}

void pointAt(XDisplay& x, const App& a) { x.moveTo(a.buttonCentreX(), a.buttonCentreY()); }

const Input kInputs[] = {
    // The waits keep the marker's capture apart from this press's.
    {"PressOnButtonReleaseInsideWindow",
     [](StartwinTest& t, XDisplay& x, const App& a) {
       pointAt(x, a);
       x.press(1);
       t.waitForButtonCapture(a, true);
       x.moveTo(a.buttonCentreX(), static_cast<int>(a.window.rect.bottom) - 20);
       x.release(1);
       t.waitForButtonCapture(a, false);
     }},
    {"PressOnButtonReleaseOutsideWindow",
     [](StartwinTest& t, XDisplay& x, const App& a) {
       pointAt(x, a);
       x.press(1);
       t.waitForButtonCapture(a, true);
       x.moveTo(static_cast<int>(a.window.rect.right) + 20, static_cast<int>(a.window.rect.bottom) + 20);
       x.release(1);
       t.waitForButtonCapture(a, false);
     }},
    {"RightClickOnButton",
     [](auto&, XDisplay& x, const App& a) {
       pointAt(x, a);
       x.click(3);
     }},
    {"Hover",
     [](auto&, XDisplay& x, const App& a) {
       x.moveTo(static_cast<int>(a.window.rect.left) + 10, static_cast<int>(a.window.rect.top) + 10);
       pointAt(x, a);
       x.moveTo(a.buttonCentreX() + 100, a.buttonCentreY() + 4);
       x.moveTo(static_cast<int>(a.window.rect.left) + 10, static_cast<int>(a.window.rect.bottom) - 10);
     }},
    {"Return", [](auto&, XDisplay& x, const App&) { x.tapKey("Return"); }},
    {"AltX", [](auto&, XDisplay& x, const App&) { x.tapKey("x", {"Alt_L"}); }},
    {"Tab", [](auto&, XDisplay& x, const App&) { x.tapKey("Tab"); }},
    {"ShiftTab", [](auto&, XDisplay& x, const App&) { x.tapKey("Tab", {"Shift_L"}); }},
    {"Letters",
     [](auto&, XDisplay& x, const App&) {
       for (const char* key : {"r", "q", "a", "z"}) x.tapKey(key);
       x.tapKey("R", {"Shift_L"});
     }},
    {"Arrows",
     [](auto&, XDisplay& x, const App&) {
       for (const char* key : {"Left", "Right", "Up", "Down"}) x.tapKey(key);
     }},
    {"F1", [](auto&, XDisplay& x, const App&) { x.tapKey("F1"); }},
    {"ShiftEscape", [](auto&, XDisplay& x, const App&) { x.tapKey("Escape", {"Shift_L"}); }},
    {"CtrlEscape", [](auto&, XDisplay& x, const App&) { x.tapKey("Escape", {"Control_L"}); }},
    {"AltEscape", [](auto&, XDisplay& x, const App&) { x.tapKey("Escape", {"Alt_L"}); }},
};

INSTANTIATE_TEST_SUITE_P(Program, KeepsRunning, ::testing::ValuesIn(kInputs),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace e2e
