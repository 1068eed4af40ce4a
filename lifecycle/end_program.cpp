#include "lifecycle/end_program.h"

#include "lifecycle/lifecycle_state.h"
#include "lifecycle/shutdown.h"

void EndProgram(std::int32_t status) {
  RunShutdownSequence();
  EndProcess(ThePlatform(), static_cast<std::uint32_t>(status));
}
