#include "lifecycle/lifecycle_state.h"

#include "startup_window/focus.h"

namespace {
constinit LifecycleState state;
}

LifecycleState& Lifecycle() { return state; }
Platform& ThePlatform() { return *state.platform; }

void ResetLifecycle(Platform& platform, const TemplateLibrary* library) {
  state = LifecycleState{};
  state.platform = &platform;
  state.library = library;
  ForgetAllFocus();
}
