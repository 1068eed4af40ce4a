#include "lifecycle/lifecycle_state.h"

namespace {
constinit LifecycleState state;
}

LifecycleState& Lifecycle() { return state; }
Platform& ThePlatform() { return *state.platform; }

void ResetLifecycle(Platform& platform, const TemplateLibrary* library) {
  state = LifecycleState{};
  state.platform = &platform;
  state.library = library;
}
