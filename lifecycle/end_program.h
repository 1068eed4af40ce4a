#pragma once

#include <cstdint>

// Ends the program here and now: runs the shutdown sequence nested in the
// caller, then ends the process with exactly `status`. Never returns.
[[noreturn]] void EndProgram(std::int32_t status);
