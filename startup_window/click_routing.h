#pragma once

#include "platform/platform.h"

// A control's notification to its window, handed back to the element that
// sent it: a push button's click report becomes its press event.
void ReflectNotification(WindowHandle window, WindowHandle control, ControlNotification code);
