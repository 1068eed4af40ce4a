#include "lifecycle/shutdown.h"

#include "lifecycle/lifecycle_state.h"
#include "startup_window/program_windows.h"

void RunShutdownSequence() {
  LifecycleState& state = Lifecycle();
  Platform& platform = *state.platform;
  if (!state.shutdownBegun) {
    state.shutdownBegun = true;
    ++state.eventSuppressionCount;
  }

  // Released before the destruction, so that it posts no quit request.
  for (ProgramWindow& record : state.windows.records) {
    WindowHandle window = record.window.Release();
    if (window != kNoWindow) platform.DestroyWindow(window);
    FreeProgramWindow(record);
  }
  state.loadedTemplates = nullptr;

  // Emptied before running, so that no routine can run twice.
  EndRoutineList routines = state.endRoutines;
  state.endRoutines = EndRoutineList{};
  for (int i = 0; i < routines.count; ++i) routines.routines[i]();

  if (state.servicesStarted) {
    state.servicesStarted = false;
    platform.ReleaseSharedIcons();
    platform.StopServices();
  }
}
