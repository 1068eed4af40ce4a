#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "startup_window/control_id.h"
#include "startup_window/window_template.h"

// The process entry: runs the program on `platform` with the templates of
// `library` (null when they cannot be read) and ends the process with the
// program's exit status.
[[noreturn]] void ProcessEntry(Platform& platform, const TemplateLibrary* library);

// Prepares the process, builds and shows the start-up window and runs the
// event loop until it ends. Returns 0.
std::int32_t ProgramStart();

// Builds and shows the window whose template is `templateId`, active, with
// the focus on its first control. Does not return when that fails.
void LoadStartupWindow(ControlId templateId);
