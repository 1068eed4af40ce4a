#pragma once
// Builds a window and its controls from a template, in the platform's terms.

#include "platform/platform.h"
#include "startup_window/program_windows.h"
#include "startup_window/window_template.h"

// The window's outer rectangle on a primary screen of `screen`: centred with
// the divisions truncated toward zero and a too-small screen giving negative
// coordinates, or at left/top.
Rect PlaceWindow(const Element& windowElement, Size screen);

// The frame settings a window's properties give.
FrameStyle FrameFor(const WindowProperties& properties);

ShowState FirstShowState(const WindowProperties& properties);

// Creates the window and its controls hidden, gives them icons and fonts,
// then shows each visible control without activating it. Returns the new
// record, or null when the window or a control could not be created; a
// half-built window stays recorded so that the shutdown destroys it.
ProgramWindow* BuildWindow(const WindowTemplate& source);
