#pragma once

using EndRoutine = void (*)();

constexpr int kMaxEndRoutines = 8;

// Ordered, without duplicates.
struct EndRoutineList {
  EndRoutine routines[kMaxEndRoutines] = {};
  int count = 0;
};

// Appends `routine` unless it is listed already. The program registers one
// routine; a list that is full takes no more.
void RegisterEndRoutine(EndRoutine routine);
