#pragma once

// Dispatches messages until it takes a quit request, whose code becomes the
// exit status. Returns at once when no program window exists.
void RunEventLoop();

// Runs after the final destruction of a program window that the shutdown did
// not destroy: the last one gone ends the event loop.
void NotifyWindowDestroyed();
