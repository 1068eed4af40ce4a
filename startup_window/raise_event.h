#pragma once

#include <cstdint>

#include "startup_window/control_id.h"
#include "startup_window/event_binding.h"

// Reports an event of an element of a loaded window. Runs the handler of the
// first binding for `eventNumber`, synchronously, and returns true; returns
// false when events are suppressed or nothing is bound.
bool RaiseEvent(ControlId templateId, ControlId elementId, std::int32_t eventNumber,
                EventArgs args = {});
