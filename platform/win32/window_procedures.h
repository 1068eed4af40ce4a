#pragma once

#include <windows.h>

// The procedure of the program's top-level window class.
LRESULT CALLBACK ProgramWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts a control under a procedure that hands every message to the control's
// own procedure and then reports the focus changes it saw.
void WatchControlFocus(HWND control);

// Our windows' handles as the core knows them, and back.
inline UINT_PTR Handle(HWND window) { return reinterpret_cast<UINT_PTR>(window); }
inline HWND Hwnd(UINT_PTR handle) { return reinterpret_cast<HWND>(handle); }
