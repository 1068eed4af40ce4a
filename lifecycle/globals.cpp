#include "lifecycle/globals.h"

// The program keeps no global data of its own yet.
void InitGlobals() {}
void ReleaseGlobals() {}
