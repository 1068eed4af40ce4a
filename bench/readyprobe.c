/*
 * A Win32 console helper of the benchmark, started once per run under the
 * same wineserver as the measured programs. It answers, over its standard
 * input and output, when the program owning the foreground window has
 * finished starting: Wine sets a process's input-idle event the first time
 * one of its threads asks for a message and finds none, which is the moment
 * the program blocks in its loop with its window drawn.
 *
 * Request:  "ready EXE-FILE-NAME TIMEOUT-MS\n"
 * Reply:    "ok FOCUS-CLASS\n" or "error WHAT\n"
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HANDLE in, out;

static int read_line(char *line, int capacity) {
  int length = 0;
  for (;;) {
    char c;
    DWORD got = 0;
    if (!ReadFile(in, &c, 1, &got, NULL) || got == 0) return -1;
    if (c == '\n') break;
    if (length < capacity - 1) line[length++] = c;
  }
  line[length] = 0;
  return length;
}

static void reply(const char *text) {
  DWORD written;
  WriteFile(out, text, (DWORD)strlen(text), &written, NULL);
}

static const char *base_name(const char *path) {
  const char *slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

static void answer(const char *exe, DWORD timeout) {
  char text[600];
  HWND window = GetForegroundWindow();
  if (!window) {
    reply("error no foreground window\n");
    return;
  }
  DWORD process_id = 0;
  DWORD thread_id = GetWindowThreadProcessId(window, &process_id);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, process_id);
  if (!process) {
    snprintf(text, sizeof text, "error OpenProcess %lu\n", GetLastError());
    reply(text);
    return;
  }
  char image[MAX_PATH] = "";
  DWORD size = sizeof image;
  QueryFullProcessImageNameA(process, 0, image, &size);
  if (_stricmp(base_name(image), exe) != 0) {
    snprintf(text, sizeof text, "error the foreground window belongs to %s\n", image);
    reply(text);
    CloseHandle(process);
    return;
  }
  DWORD waited = WaitForInputIdle(process, timeout);
  CloseHandle(process);
  if (waited != 0) {
    snprintf(text, sizeof text, "error WaitForInputIdle returned %lu\n", waited);
    reply(text);
    return;
  }
  GUITHREADINFO info;
  memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  char focus_class[256] = "none";
  if (GetGUIThreadInfo(thread_id, &info) && info.hwndFocus)
    GetClassNameA(info.hwndFocus, focus_class, sizeof focus_class);
  snprintf(text, sizeof text, "ok %s\n", focus_class);
  reply(text);
}

int main(void) {
  in = GetStdHandle(STD_INPUT_HANDLE);
  out = GetStdHandle(STD_OUTPUT_HANDLE);
  reply("hello\n");
  char line[512];
  while (read_line(line, sizeof line) >= 0) {
    char exe[MAX_PATH];
    unsigned long timeout;
    if (sscanf(line, "ready %259s %lu", exe, &timeout) == 2)
      answer(exe, (DWORD)timeout);
    else
      reply("error bad request\n");
  }
  return 0;
}
