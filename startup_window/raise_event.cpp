#include "startup_window/raise_event.h"

#include "lifecycle/lifecycle_state.h"
#include "startup_window/program_windows.h"

bool RaiseEvent(ControlId templateId, ControlId elementId, std::int32_t eventNumber,
                EventArgs args) {
  if (Lifecycle().eventSuppressionCount > 0) return false;
  const ProgramWindow* window = FindLoadedTemplate(templateId);
  if (window == nullptr) return false;
  const Element* element = FindElement(*window->source, elementId);
  if (element == nullptr) return false;
  for (int i = 0; i < element->common.bindingCount; ++i) {
    const EventBinding& binding = element->common.bindings[i];
    if (binding.eventNumber != eventNumber) continue;
    if (binding.handler == nullptr) return false;
    binding.handler(args);
    return true;
  }
  return false;
}
