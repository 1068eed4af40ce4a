// A Win32 key press as the core sees it: which key, and which modifiers are
// held down.

#include <cstdint>
#include <string>

#include "platform/win32/key_translation.h"
#include "tests/unit/test_templates.h"

namespace {

// A 16-bit key state as GetKeyState returns it.
constexpr std::int16_t State(std::uint16_t bits) { return static_cast<std::int16_t>(bits); }

struct ModifierState {
  const char* name;
  std::int16_t state;
  bool held;
};
void PrintTo(const ModifierState& c, std::ostream* os) { *os << c.name; }

class ModifierKey : public ::testing::TestWithParam<ModifierState> {};

// Only the high bit says the key is down; the low bit flips at every press
// and stays set after an odd number of them.
TEST_P(ModifierKey, CountsAsHeldByItsHighBitAlone) {
  const ModifierState& modifier = GetParam();
  constexpr std::int16_t kUp = 0;

  KeyStroke shift = TranslateKey(kVirtualKeyEscape, {modifier.state, kUp, kUp});
  KeyStroke ctrl = TranslateKey(kVirtualKeyEscape, {kUp, modifier.state, kUp});
  KeyStroke alt = TranslateKey(kVirtualKeyEscape, {kUp, kUp, modifier.state});

  EXPECT_EQ(shift.shift, modifier.held);
  EXPECT_FALSE(shift.ctrl || shift.alt);
  EXPECT_EQ(ctrl.ctrl, modifier.held);
  EXPECT_FALSE(ctrl.shift || ctrl.alt);
  EXPECT_EQ(alt.alt, modifier.held);
  EXPECT_FALSE(alt.shift || alt.ctrl);
}

INSTANTIATE_TEST_SUITE_P(
    States, ModifierKey,
    ::testing::Values(ModifierState{"Up", State(0x0000), false},
                      ModifierState{"UpToggled", State(0x0001), false},
                      ModifierState{"UpEveryOtherBit", State(0x7FFF), false},
                      ModifierState{"Held", State(0x8000), true},
                      ModifierState{"HeldToggled", State(0x8001), true},
                      // What the system returns: the key-state byte sign-extended.
                      ModifierState{"HeldSignExtended", State(0xFF80), true},
                      ModifierState{"HeldToggledSignExtended", State(0xFF81), true}),
    [](const auto& param) { return param.param.name; });

TEST(ModifierKeys, AreEachReadFromTheirOwnState) {
  KeyStroke stroke = TranslateKey(kVirtualKeyTab, {State(0x8000), State(0x0001), State(0xFF80)});
  EXPECT_TRUE(stroke.shift);
  EXPECT_FALSE(stroke.ctrl);
  EXPECT_TRUE(stroke.alt);
}

struct KeyMapping {
  const char* name;
  std::uintptr_t virtualKey;
  Key key;
};
void PrintTo(const KeyMapping& c, std::ostream* os) { *os << c.name; }

class VirtualKey : public ::testing::TestWithParam<KeyMapping> {};

TEST_P(VirtualKey, BecomesTheCoresKey) {
  const KeyMapping& mapping = GetParam();
  KeyStroke stroke = TranslateKey(mapping.virtualKey, {});
  EXPECT_EQ(stroke.key, mapping.key);
  EXPECT_EQ(stroke.character, 0);
  EXPECT_FALSE(stroke.shift || stroke.ctrl || stroke.alt);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKey,
    ::testing::Values(KeyMapping{"Escape", 0x1B, Key::Escape},
                      KeyMapping{"Return", 0x0D, Key::Enter},
                      KeyMapping{"Tab", 0x09, Key::Tab},
                      KeyMapping{"Left", 0x25, Key::Left},
                      KeyMapping{"Up", 0x26, Key::Up},
                      KeyMapping{"Right", 0x27, Key::Right},
                      KeyMapping{"Down", 0x28, Key::Down},
                      KeyMapping{"F1", 0x70, Key::F1},
                      // Keys the window leaves to its controls and the platform.
                      KeyMapping{"NoKey", 0x00, Key::Other},
                      KeyMapping{"Space", 0x20, Key::Other},
                      KeyMapping{"Shift", 0x10, Key::Other},
                      KeyMapping{"F2", 0x71, Key::Other},
                      KeyMapping{"F4", 0x73, Key::Other},
                      KeyMapping{"Home", 0x24, Key::Other},
                      // Neighbours of the digits and letters.
                      KeyMapping{"BelowZero", '0' - 1, Key::Other},
                      KeyMapping{"AboveNine", '9' + 1, Key::Other},
                      KeyMapping{"BelowA", 'A' - 1, Key::Other},
                      KeyMapping{"AboveZ", 'Z' + 1, Key::Other},
                      // Lower-case codes are numeric-pad keys, not letters.
                      KeyMapping{"NumPad1", 'a', Key::Other},
                      KeyMapping{"F11", 'z', Key::Other},
                      // A code whose low byte alone would read as 'A'.
                      KeyMapping{"WideA", 0x100 + 'A', Key::Other}),
    [](const auto& param) { return param.param.name; });

TEST(VirtualKey, LettersAndDigitsCarryTheirCharacter) {
  std::string characters;
  for (char c = 'A'; c <= 'Z'; ++c) characters += c;
  for (char c = '0'; c <= '9'; ++c) characters += c;

  for (char c : characters) {
    KeyStroke stroke = TranslateKey(static_cast<std::uintptr_t>(c), {State(0xFF80), 0, 0});
    EXPECT_EQ(stroke.key, Key::Alphanumeric) << c;
    EXPECT_EQ(stroke.character, c);
    EXPECT_TRUE(stroke.shift) << c;
  }
}

// A Shift pressed and let go earlier leaves its toggle bit set; a plain Esc
// afterwards still closes the window.
TEST_F(CoreTest, EscAfterAnEarlierShiftPressClosesTheWindow) {
  TestTemplate window({{kStartupButtonId, "r", {}}});
  KeyStroke esc = TranslateKey(kVirtualKeyEscape, {State(0x0001), State(0x0001), State(0x0001)});
  fake.QueueKey(kFirstButton, esc.key, esc.character, esc.shift, esc.ctrl, esc.alt);

  EXPECT_EQ(Run(window.library()), 0u);

  EXPECT_TRUE(HappensInOrder(fake.calls, {"RequestClose", "DestroyWindow", "PostQuit 0"}));
}

}  // namespace
