// The keys the window handles before they reach the focused control.

#include "tests/unit/test_templates.h"

namespace {

constexpr ControlId kA = 0x16010002;
constexpr ControlId kB = 0x16010003;
constexpr ControlId kC = 0x16010004;

struct KeyCase {
  const char* name;
  Key key;
  char character;
  bool shift;
  bool ctrl;
  bool alt;
  bool reachesButton;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class StartupWindowKeys : public CoreTest, public ::testing::WithParamInterface<KeyCase> {};

// The start-up window with its button bound to a recording handler: no key
// but Esc does anything, and none presses the button.
TEST_P(StartupWindowKeys, DoNothingAndPressNothing) {
  const KeyCase& key = GetParam();
  TestTemplate window({{kA, "r", {{kButtonPressEvent, PressA}}}});
  fake.QueueKey(kFirstButton, key.key, key.character, key.shift, key.ctrl, key.alt);
  fake.QueueQuit(7);

  EXPECT_EQ(Run(window.library()), 7u);

  EXPECT_EQ(HappensInOrder(fake.calls, {"dispatch key"}), key.reachesButton);
  EXPECT_FALSE(HappensInOrder(fake.calls, {"PressA"}));
  EXPECT_FALSE(HappensInOrder(fake.calls, {"RequestClose"}));
  EXPECT_EQ(LastFocused(fake.calls), "r");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StartupWindowKeys,
    ::testing::Values(KeyCase{"Enter", Key::Enter, 0, false, false, false, true},
                      KeyCase{"Tab", Key::Tab, 0, false, false, false, false},
                      KeyCase{"ShiftTab", Key::Tab, 0, true, false, false, false},
                      KeyCase{"Left", Key::Left, 0, false, false, false, true},
                      KeyCase{"Down", Key::Down, 0, false, false, false, true},
                      KeyCase{"F1", Key::F1, 0, false, false, false, true},
                      KeyCase{"Letter", Key::Alphanumeric, 'R', false, false, false, true},
                      KeyCase{"AltLetter", Key::Alphanumeric, 'R', false, false, true, true},
                      KeyCase{"ShiftEsc", Key::Escape, 0, true, false, false, true},
                      KeyCase{"CtrlEsc", Key::Escape, 0, false, true, false, true},
                      KeyCase{"AltEsc", Key::Escape, 0, false, false, true, true}),
    [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, EscClosesTheWindowAndRunsNoHandler) {
  TestTemplate window({{kA, "r", {{kButtonPressEvent, PressA}}}});
  fake.QueueKey(kFirstButton, Key::Escape);

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {"RequestClose", "DestroyWindow", "PostQuit 0",
                                          "ExitProcess 0x00000000"}));
  EXPECT_FALSE(HappensInOrder(fake.calls, {"dispatch key"}));
  EXPECT_FALSE(HappensInOrder(fake.calls, {"PressA"}));
}

TEST_F(CoreTest, EscDoesNotCloseAWindowWhoseEscClosesIsOff) {
  TestTemplate window({{kA, "r", {}}});
  window.window().escCloses = false;
  fake.QueueKey(kFirstButton, Key::Escape);
  fake.QueueQuit(7);
  EXPECT_EQ(Run(window.library()), 7u);
  EXPECT_TRUE(HappensInOrder(fake.calls, {"dispatch key"}));
}

TEST_F(CoreTest, TabAndShiftTabWalkTheTabOrderAndWrapAround) {
  TestTemplate window({{kA, "a", {}, 0}, {kB, "b", {}, 2}, {kC, "c", {}, 1}});
  fake.QueueKey(kFirstButton, Key::Tab);          // a -> c
  fake.QueueKey(kFirstButton + 2, Key::Tab);      // c -> b
  fake.QueueKey(kFirstButton + 1, Key::Tab);      // b -> a
  fake.QueueKey(kFirstButton, Key::Tab, 0, true);  // a -> b
  fake.QueueQuit(0);
  Run(window.library());
  EXPECT_TRUE(HappensInOrder(fake.calls, {"SetFocus a", "SetFocus c", "SetFocus b", "SetFocus a",
                                          "SetFocus b"}));
  EXPECT_EQ(LastFocused(fake.calls), "b");
}

struct MnemonicCase {
  const char* name;
  char character;
  bool shift;
  const char* pressed;  // null: nothing
};
void PrintTo(const MnemonicCase& c, std::ostream* os) { *os << c.name; }

class Mnemonics : public CoreTest, public ::testing::WithParamInterface<MnemonicCase> {};

TEST_P(Mnemonics, AltWithTheMarkedCharacterPressesThatButton) {
  TestTemplate window({{kA, "&Go", {{kButtonPressEvent, PressA}}},
                       {kB, "S&top", {{kButtonPressEvent, PressB}}},
                       {kC, "Fish && &Chips", {{kButtonPressEvent, PressC}}, 0, true, true, true},
                       {0x16010005, "&&x", {{kButtonPressEvent, PressC}}}});
  fake.QueueKey(kFirstButton, Key::Alphanumeric, GetParam().character, GetParam().shift, false, true);
  fake.QueueQuit(7);
  Run(window.library());

  const char* pressed = GetParam().pressed;
  for (const char* handler : {"PressA", "PressB", "PressC"}) {
    bool expected = pressed != nullptr && std::string(pressed) == handler;
    EXPECT_EQ(HappensInOrder(fake.calls, {std::string(handler) + " args=0"}), expected) << handler;
  }
  // A matched mnemonic goes no further.
  EXPECT_EQ(HappensInOrder(fake.calls, {"dispatch key"}), pressed == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Characters, Mnemonics,
                         ::testing::Values(MnemonicCase{"First", 'G', false, "PressA"},
                                           MnemonicCase{"Inside", 'T', false, "PressB"},
                                           MnemonicCase{"WithShiftIsNone", 'T', true, nullptr},
                                           MnemonicCase{"DisabledControl", 'C', false, nullptr},
                                           MnemonicCase{"DoubledAmpersand", 'X', false, nullptr},
                                           MnemonicCase{"Unmarked", 'O', false, nullptr}),
                         [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, EnterPressesTheDefaultPushButton) {
  TestTemplate window({{kA, "a", {{kButtonPressEvent, PressA}}},
                       {kB, "b", {{kButtonPressEvent, PressB}}, 0, true, true, false, ButtonKind::Default}});
  fake.QueueKey(kFirstButton, Key::Enter);
  fake.QueueQuit(7);
  Run(window.library());
  EXPECT_TRUE(HappensInOrder(fake.calls, {"PressB args=0"}));
  EXPECT_FALSE(HappensInOrder(fake.calls, {"PressA"}));
  EXPECT_FALSE(HappensInOrder(fake.calls, {"dispatch key"}));
}

TEST_F(CoreTest, EnterMovesTheFocusWhenTheWindowSaysSo) {
  TestTemplate window({{kA, "a", {}, 0}, {kB, "b", {}, 1}});
  window.window().enterMovesFocus = true;
  fake.QueueKey(kFirstButton, Key::Enter);
  fake.QueueQuit(7);
  Run(window.library());
  EXPECT_EQ(LastFocused(fake.calls), "b");
  EXPECT_FALSE(HappensInOrder(fake.calls, {"dispatch key"}));
}

}  // namespace
