#include "lifecycle/event_loop.h"

#include "lifecycle/lifecycle_state.h"
#include "startup_window/program_windows.h"
#include "startup_window/window_events.h"

void RunEventLoop() {
  LifecycleState& state = Lifecycle();
  Platform& platform = *state.platform;
  state.eventLoopEntered = true;
  if (CountProgramWindows() == 0) return;
  for (;;) {
    if (platform.QueueEmpty()) OnIdle();
    Message message = platform.NextMessage();
    if (message.kind == MessageKind::Quit) {
      state.exitStatus = message.quitCode;
      return;
    }
    if (message.kind == MessageKind::Input && OnInputMessage(message)) continue;
    platform.TranslateAndDispatch();
  }
}

void NotifyWindowDestroyed() {
  LifecycleState& state = Lifecycle();
  if (state.eventLoopEntered && CountProgramWindows() == 0) state.platform->PostQuit(0);
}
