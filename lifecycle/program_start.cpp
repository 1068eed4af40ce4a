#include "lifecycle/program_start.h"

#include "lifecycle/end_routines.h"
#include "lifecycle/event_loop.h"
#include "lifecycle/globals.h"
#include "lifecycle/lifecycle_state.h"
#include "lifecycle/shutdown.h"
#include "startup_window/program_windows.h"
#include "startup_window/raise_event.h"
#include "startup_window/window_builder.h"

namespace {

constexpr std::uint32_t kFailedStartupStatus = 0xFFFFFFFF;  // -1
constexpr char kFailureCaption[] = "startwin";
constexpr char kTemplateUnreadable[] = "Start-up failed: the window template could not be read.";
constexpr char kWindowNotLoaded[] = "Start-up failed: the start-up window could not be loaded.";

[[noreturn]] void FailStartup(const char* what) {
  LifecycleState& state = Lifecycle();
  ++state.eventSuppressionCount;
  state.platform->ShowErrorBox(kFailureCaption, what);
  state.endRoutines = EndRoutineList{};
  RunShutdownSequence();
  EndProcess(*state.platform, kFailedStartupStatus);
}

// The folder of the program file becomes the current directory; a failure
// changes nothing and is not reported.
void EnterProgramFolder() {
  char path[1024];
  Platform& platform = ThePlatform();
  int length = platform.ProgramFilePath(path, static_cast<int>(sizeof path));
  if (length <= 0 || length >= static_cast<int>(sizeof path)) return;
  int cut = -1;
  for (int i = 0; i < length; ++i) {
    if (path[i] == '\\' || path[i] == '/') cut = i;
  }
  if (cut < 0) return;
  // "C:" alone names the drive's current directory, not its root: a program
  // in a root folder keeps the separator.
  bool driveRoot = cut == 2 && path[1] == ':';
  path[driveRoot ? cut + 1 : cut] = '\0';
  platform.ChangeDirectory(path);
}

const WindowTemplate* FindTemplate(ControlId templateId) {
  const TemplateLibrary* library = Lifecycle().loadedTemplates;
  if (library == nullptr) return nullptr;
  for (int i = 0; i < library->count; ++i) {
    if (library->templates[i]->id == templateId) return library->templates[i];
  }
  return nullptr;
}

}  // namespace

void ProcessEntry(Platform& platform, const TemplateLibrary* library) {
  ResetLifecycle(platform, library);
  ProgramStart();
  RunShutdownSequence();
  EndProcess(platform, static_cast<std::uint32_t>(Lifecycle().exitStatus));
}

std::int32_t ProgramStart() {
  LifecycleState& state = Lifecycle();
  EnterProgramFolder();
  state.platform->StartServices();
  state.servicesStarted = true;
  // The templates hold their bindings as the routines themselves, so
  // loading them resolves every binding.
  if (state.library == nullptr) FailStartup(kTemplateUnreadable);
  state.loadedTemplates = state.library;
  InitGlobals();
  RegisterEndRoutine(ReleaseGlobals);
  LoadStartupWindow(kStartupTemplateId);
  RunEventLoop();
  return 0;
}

void LoadStartupWindow(ControlId templateId) {
  LifecycleState& state = Lifecycle();
  const WindowTemplate* source = FindTemplate(templateId);
  if (source == nullptr) FailStartup(kWindowNotLoaded);

  ++state.eventSuppressionCount;
  const ProgramWindow* built = BuildWindow(*source);
  if (built == nullptr) FailStartup(kWindowNotLoaded);
  --state.eventSuppressionCount;

  WindowHandle window = built->window.get();
  const Element& own = built->OwnElement();
  RaiseEvent(source->id, own.id, kWindowBuiltEvent);
  // A build-event handler may have closed the window already.
  if (own.common.visible && FindProgramWindow(window) != nullptr) {
    state.platform->ShowAndActivate(window, FirstShowState(*own.window));
  }
}
