#pragma once

// The program's global data is set up here at start and released at the end.
void InitGlobals();
void ReleaseGlobals();
