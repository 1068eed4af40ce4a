#pragma once
// Everything the program's lifecycle changes while it runs, in one place.

#include <cstdint>

#include "lifecycle/end_routines.h"
#include "platform/platform.h"
#include "startup_window/program_windows.h"
#include "startup_window/window_template.h"

struct LifecycleState {
  Platform* platform = nullptr;
  // Where the templates are read from; null when they cannot be read.
  const TemplateLibrary* library = nullptr;
  const TemplateLibrary* loadedTemplates = nullptr;
  bool servicesStarted = false;
  bool eventLoopEntered = false;
  // While above zero no event reaches a handler.
  int eventSuppressionCount = 0;
  bool shutdownBegun = false;
  std::int32_t exitStatus = 0;
  EndRoutineList endRoutines;
  ProgramWindows windows;
};

LifecycleState& Lifecycle();
Platform& ThePlatform();

// Starts a fresh lifecycle on `platform`, reading templates from `library`.
void ResetLifecycle(Platform& platform, const TemplateLibrary* library);
