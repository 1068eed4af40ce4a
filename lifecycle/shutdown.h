#pragma once

// Stops event delivery for good, destroys the program windows that are still
// open, runs the end routines once and releases what start-up acquired. A
// second run finds nothing left to do.
void RunShutdownSequence();
