#pragma once
// The keyboard focus inside a program window: the memory of the control that
// had it when the window was last deactivated, and the tab-stop order. The
// memory is part of the window's record and goes with it.

#include "platform/platform.h"
#include "startup_window/program_windows.h"

// At the window's deactivation: remembers `focused` if it is one of the
// window's controls, and leaves the memory as it is otherwise.
void RememberFocus(ProgramWindow& window, WindowHandle focused);

// Where the focus goes when the window itself receives it: the remembered
// control if it still exists in the window, otherwise the first tab stop;
// kNoWindow when there is none. The memory is used up either way.
WindowHandle ControlToFocus(ProgramWindow& window);

// Tab stops are the visible, enabled controls with tabStop set, ordered by
// tabOrder; among equal ranks the one later in template order comes first.
WindowHandle FirstTabStop(const ProgramWindow& window);
// The tab stop after (or before) `from`, wrapping around; from a control that
// is no tab stop, the first (or last).
WindowHandle NextTabStop(const ProgramWindow& window, WindowHandle from, bool forward);
