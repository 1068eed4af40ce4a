#pragma once

#include "startup_window/window_template.h"

// The program's one window template, the start-up window.
const WindowTemplate& StartupTemplate();
const TemplateLibrary& ProgramTemplates();
