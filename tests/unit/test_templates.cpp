#include "tests/unit/test_templates.h"

#include "lifecycle/end_routines.h"
#include "lifecycle/program_start.h"
#include "startup_window/startup_template.h"

FakePlatform* gFake = nullptr;

TestTemplate::TestTemplate(std::vector<ButtonRow> buttons, std::vector<EventBinding> windowBindings,
                           ControlId id)
    : window_(*StartupTemplate().elements[0].window),
      rows_(std::move(buttons)),
      windowBindings_(std::move(windowBindings)) {
  buttons_.reserve(rows_.size());
  elements_.reserve(rows_.size() + 1);
  Element own = StartupTemplate().elements[0];
  own.window = &window_;
  own.common.bindings = windowBindings_.data();
  own.common.bindingCount = static_cast<int>(windowBindings_.size());
  elements_.push_back(own);
  const Element& startupButton = StartupTemplate().elements[1];
  for (const ButtonRow& row : rows_) {
    ButtonProperties properties = *startupButton.button;
    properties.caption = row.caption;
    properties.buttonKind = row.kind;
    buttons_.push_back(properties);
    Element element = startupButton;
    element.id = row.id;
    element.button = &buttons_.back();
    element.common.tabOrder = row.tabOrder;
    element.common.tabStop = row.tabStop;
    element.common.visible = row.visible;
    element.common.disabled = row.disabled;
    element.common.bindings = row.bindings.data();
    element.common.bindingCount = static_cast<int>(row.bindings.size());
    elements_.push_back(element);
  }
  template_ = {id, elements_.data(), static_cast<int>(elements_.size())};
  list_[0] = &template_;
  library_ = {list_, 1};
}

void PressA(EventArgs args) { gFake->Record("PressA args=" + std::to_string(args.count)); }
void PressB(EventArgs args) { gFake->Record("PressB args=" + std::to_string(args.count)); }
void PressC(EventArgs args) { gFake->Record("PressC args=" + std::to_string(args.count)); }
void WindowBuilt(EventArgs) { gFake->Record("WindowBuilt"); }
void WindowIdle(EventArgs) { gFake->Record("WindowIdle"); }
void FocusLost(EventArgs) { gFake->Record("FocusLost"); }
void EndRoutineA() { gFake->Record("EndRoutineA"); }
void EndRoutineB() { gFake->Record("EndRoutineB"); }

void RegisterTestEndRoutines(EventArgs) {
  RegisterEndRoutine(EndRoutineA);
  RegisterEndRoutine(EndRoutineB);
  RegisterEndRoutine(EndRoutineA);
}

std::uint32_t CoreTest::Run(const TemplateLibrary* library) {
  return RunToExit([&] { ProcessEntry(fake, library); });
}

std::string LastFocused(const std::vector<std::string>& calls) {
  std::string last = "(none)";
  for (const std::string& call : calls) {
    if (call.rfind("SetFocus ", 0) == 0) last = call.substr(9);
  }
  return last;
}
