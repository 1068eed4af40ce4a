#pragma once
// Small window templates of the tests' own, and handlers that record into
// the fake platform's log.

#include <string>
#include <vector>

#include "startup_window/window_template.h"
#include "tests/unit/fake_platform.h"

// The fake of the running test; handlers and end routines record into it.
extern FakePlatform* gFake;

constexpr WindowHandle kWindow = kFirstHandle;
constexpr WindowHandle kFirstButton = kFirstHandle + 1;

struct ButtonRow {
  ControlId id;
  const char* caption;
  std::vector<EventBinding> bindings;
  int tabOrder = 0;
  bool tabStop = true;
  bool visible = true;
  bool disabled = false;
  ButtonKind kind = ButtonKind::Ordinary;
};

// A window laid out like the start-up window, with the given buttons and
// window bindings. Neither copied nor moved: its elements point into it.
class TestTemplate {
 public:
  explicit TestTemplate(std::vector<ButtonRow> buttons, std::vector<EventBinding> windowBindings = {},
                        ControlId id = kStartupTemplateId);
  TestTemplate(const TestTemplate&) = delete;
  TestTemplate& operator=(const TestTemplate&) = delete;

  WindowProperties& window() { return window_; }
  const TemplateLibrary* library() const { return &library_; }

 private:
  WindowProperties window_;
  std::vector<ButtonRow> rows_;
  std::vector<ButtonProperties> buttons_;
  std::vector<EventBinding> windowBindings_;
  std::vector<Element> elements_;
  WindowTemplate template_;
  const WindowTemplate* list_[1];
  TemplateLibrary library_;
};

// Handlers and end routines that record "<name>" into the fake's log.
void PressA(EventArgs);
void PressB(EventArgs);
void PressC(EventArgs);
void WindowBuilt(EventArgs);
void WindowIdle(EventArgs);
void FocusLost(EventArgs);
void EndRoutineA();
void EndRoutineB();

// Registers EndRoutineA, EndRoutineB and EndRoutineA again; bound to a
// window's build event it plays a program that registers at start.
void RegisterTestEndRoutines(EventArgs);

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override { gFake = &fake; }
  void TearDown() override { gFake = nullptr; }

  // Runs the program on `library` from the process entry to its end.
  std::uint32_t Run(const TemplateLibrary* library);

  FakePlatform fake;
};

// The text of the window or control the last SetFocus asked for.
std::string LastFocused(const std::vector<std::string>& calls);
