// Every way the program ends, each with the full 32-bit exit status.
#include "startwin_test.h"

namespace e2e {
namespace {

struct Ending {
  const char* name;
  std::function<void(XDisplay&, ProbeClient&, const App&)> act;
  std::uint32_t status;
};

void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.name; }

class Ends : public StartwinTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(Ends, WithItsExitStatus) {
  App app = startReady();
  GetParam().act(x(), probe(), app);
  expectExit(app, GetParam().status);
}

void pointAt(XDisplay& x, const App& app) { x.moveTo(app.buttonCentreX(), app.buttonCentreY()); }

// Esc, once `key` was pressed and let go with `modifiers` held around it.
Ending escapeAfter(const char* name, const char* key, std::vector<std::string> modifiers = {}) {
  return {name,
          [=](XDisplay& x, auto&, auto&) {
            x.tapKey(key, modifiers);
            x.tapKey("Escape");
          },
          0};
}

const Ending kEndings[] = {
    {"Escape", [](XDisplay& x, auto&, auto&) { x.tapKey("Escape"); }, 0},
    // A modifier pressed and let go earlier is not held any more: Windows
    // keeps a toggle bit for every key, and only the held bit counts.
    escapeAfter("EscapeAfterShift", "Shift_L"),
    escapeAfter("EscapeAfterCtrl", "Control_L"),
    escapeAfter("EscapeAfterAlt", "Alt_L"),
    escapeAfter("EscapeAfterShiftTab", "Tab", {"Shift_L"}),
    {"AltF4", [](XDisplay& x, auto&, auto&) { x.tapKey("F4", {"Alt_L"}); }, 0},
    {"PostedClose", [](auto&, ProbeClient& p, const App& a) { p.postClose(a.window.hwnd); }, 0},
    {"PostedSysCommandClose",
     [](auto&, ProbeClient& p, const App& a) { p.postSysCommandClose(a.window.hwnd); }, 0},
    {"PostedQuit7", [](auto&, ProbeClient& p, const App& a) { p.postQuit(a.tid, 7); }, 7},
    // A press of the button, by every route.
    {"ClickOnButton",
     [](XDisplay& x, auto&, const App& a) {
       pointAt(x, a);
       x.click(1);
     },
     0},
    {"SpaceOnFocusedButton", [](XDisplay& x, auto&, auto&) { x.tapKey("space"); }, 0},
    {"SentBmClick", [](auto&, ProbeClient& p, const App& a) { p.sendBmClick(a.button.hwnd); }, 0},
    {"PostedBmClick", [](auto&, ProbeClient& p, const App& a) { p.postBmClick(a.button.hwnd); }, 0},
    {"PressMoveOffMoveBackRelease",
     [](XDisplay& x, auto&, const App& a) {
       pointAt(x, a);
       x.press(1);
       x.moveTo(a.buttonCentreX(), static_cast<int>(a.window.rect.bottom) - 20);
       x.moveTo(a.buttonCentreX() + 5, a.buttonCentreY());
       x.release(1);
     },
     0},
    // Ends at the first click; the second finds no window.
    {"DoubleClick",
     [](XDisplay& x, auto&, const App& a) {
       pointAt(x, a);
       x.click(1);
       x.click(1);
     },
     0},
};

INSTANTIATE_TEST_SUITE_P(Program, Ends, ::testing::ValuesIn(kEndings),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace e2e
