#include "lifecycle/end_routines.h"

#include "lifecycle/lifecycle_state.h"

void RegisterEndRoutine(EndRoutine routine) {
  EndRoutineList& list = Lifecycle().endRoutines;
  for (int i = 0; i < list.count; ++i) {
    if (list.routines[i] == routine) return;
  }
  if (list.count < kMaxEndRoutines) list.routines[list.count++] = routine;
}
