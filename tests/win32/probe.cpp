// probe: the end-to-end driver's eyes and hands inside Wine.
//
// It runs under the same wineserver as the program under test, so it can
// start that program, read its windows and post to them, and read the full
// 32-bit exit status (Wine's Linux exit code keeps only 8 bits).
//
// One request per line on stdin; every reply is zero or more data lines
// followed by one line that starts with "ok" or "error". Data lines are a
// record name and key=value fields; a text value is double-quoted with
// C escapes (\\ \" \n \r \t \xHH), any other value has no blanks.
//
//   launch PATH                  ok pid=N tid=N (PATH: Windows or /unix path)
//   wait PID MS                  ok status=0xXXXXXXXX | ok timeout
//   kill PID                     ok (TerminateProcess; for clean-up)
//   info PID                     window ..., child ..., gui ... lines; ok
//   gui TID                      ok active=H focus=H capture=H flags=X
//   post-close HWND              ok (WM_CLOSE)
//   post-syscommand-close HWND   ok (WM_SYSCOMMAND, SC_CLOSE)
//   post-quit TID CODE           ok (PostThreadMessage WM_QUIT)
//   bmclick send|post HWND       ok
//   btnface                      ok colorref=0xXXXXXXXX
//   prop HWND NAME               ok value=N (GetPropA; 0 when not set)
//   quit                         ok, then the probe exits
//
// Processes are named by their Windows process id; the probe keeps the
// handle of each one it launched so the status stays readable after exit.

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Launched {
  DWORD pid;
  DWORD tid;
  HANDLE process;
};

std::vector<Launched> launched;

void reply(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void reply(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vfprintf(stdout, fmt, args);
  va_end(args);
  std::fputc('\n', stdout);
}

std::string quoted(const char* text) {
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    char buf[8];
    switch (*p) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (*p < 0x20 || *p >= 0x7f) {
          std::snprintf(buf, sizeof buf, "\\x%02X", *p);
          out += buf;
        } else {
          out += static_cast<char>(*p);
        }
    }
  }
  return out + "\"";
}

// Window handles travel as hex of their 64-bit value.
unsigned long long handleValue(HWND hwnd) {
  return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd));
}

bool parseNumber(const char* text, unsigned long long& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  value = std::strtoull(text, &end, 0);
  return *end == '\0';
}

bool parseHwnd(const char* text, HWND& hwnd) {
  unsigned long long value;
  if (!parseNumber(text, value)) return false;
  hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
  return IsWindow(hwnd) != FALSE;
}

Launched* find(const char* pidText) {
  unsigned long long pid;
  if (!parseNumber(pidText, pid)) return nullptr;
  for (Launched& l : launched)
    if (l.pid == pid) return &l;
  return nullptr;
}

std::string windowsPath(const char* path) {
  std::string out = path;
  if (!out.empty() && out[0] == '/') {
    // Wine maps the Linux root to drive Z: in every prefix it creates.
    for (char& c : out)
      if (c == '/') c = '\\';
    out = "Z:" + out;
  }
  return out;
}

void launch(const char* path) {
  if (!path) return reply("error usage: launch PATH");
  std::string exe = windowsPath(path);
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi))
    return reply("error CreateProcessA %s failed: %lu", exe.c_str(), GetLastError());
  CloseHandle(pi.hThread);
  launched.push_back({pi.dwProcessId, pi.dwThreadId, pi.hProcess});
  reply("ok pid=%lu tid=%lu", pi.dwProcessId, pi.dwThreadId);
}

void wait(const char* pidText, const char* msText) {
  Launched* l = find(pidText);
  unsigned long long ms;
  if (!l || !parseNumber(msText, ms)) return reply("error unknown process or bad time-out");
  if (WaitForSingleObject(l->process, static_cast<DWORD>(ms)) == WAIT_TIMEOUT)
    return reply("ok timeout");
  DWORD status = 0;
  if (!GetExitCodeProcess(l->process, &status))
    return reply("error GetExitCodeProcess failed: %lu", GetLastError());
  reply("ok status=0x%08lX", status);
}

void kill(const char* pidText) {
  Launched* l = find(pidText);
  if (!l) return reply("error unknown process");
  if (WaitForSingleObject(l->process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(l->process, 0xDEAD);
    WaitForSingleObject(l->process, 5000);
  }
  reply("ok");
}

std::string guiFields(DWORD tid) {
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof gui;
  if (!GetGUIThreadInfo(tid, &gui)) return {};
  char buf[160];
  std::snprintf(buf, sizeof buf, "active=0x%llx focus=0x%llx capture=0x%llx flags=0x%lx",
                handleValue(gui.hwndActive), handleValue(gui.hwndFocus),
                handleValue(gui.hwndCapture), gui.flags);
  return buf;
}

std::string describe(HWND hwnd) {
  char cls[256] = "", text[1024] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, text, sizeof text);
  RECT r = {};
  GetWindowRect(hwnd, &r);
  char buf[256];
  std::snprintf(buf, sizeof buf,
                "hwnd=0x%llx rect=%ld,%ld,%ld,%ld style=0x%08lX exstyle=0x%08lX "
                "id=0x%llX visible=%d parent=0x%llx owner=0x%llx",
                handleValue(hwnd), r.left, r.top, r.right, r.bottom,
                static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)),
                static_cast<unsigned long long>(GetWindowLongPtrA(hwnd, GWLP_ID)),
                IsWindowVisible(hwnd) ? 1 : 0, handleValue(GetAncestor(hwnd, GA_PARENT)),
                handleValue(GetWindow(hwnd, GW_OWNER)));
  return std::string(buf) + " class=" + quoted(cls) + " text=" + quoted(text);
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
  // Client-relative position too, so layout checks hold on any screen.
  RECT r = {};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetAncestor(child, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  reply("child %s crect=%ld,%ld,%ld,%ld", describe(child).c_str(), r.left, r.top, r.right,
        r.bottom);
  return TRUE;
}

struct Search {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && IsWindowVisible(hwnd)) search->windows.push_back(hwnd);
  return TRUE;
}

void info(const char* pidText) {
  unsigned long long pid;
  if (!parseNumber(pidText, pid)) return reply("error usage: info PID");
  Search search = {static_cast<DWORD>(pid), {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  std::vector<DWORD> threads;
  for (HWND hwnd : search.windows) {
    DWORD tid = GetWindowThreadProcessId(hwnd, nullptr);
    RECT client = {};
    GetClientRect(hwnd, &client);
    reply("window %s tid=%lu client=%ld,%ld,%ld,%ld", describe(hwnd).c_str(), tid, client.left,
          client.top, client.right, client.bottom);
    EnumChildWindows(hwnd, printChild, 0);
    bool seen = false;
    for (DWORD t : threads) seen = seen || t == tid;
    if (!seen) threads.push_back(tid);
  }
  for (DWORD tid : threads) reply("gui tid=%lu %s", tid, guiFields(tid).c_str());
  reply("ok windows=%u", static_cast<unsigned>(search.windows.size()));
}

void gui(const char* tidText) {
  unsigned long long tid;
  if (!parseNumber(tidText, tid)) return reply("error usage: gui TID");
  std::string fields = guiFields(static_cast<DWORD>(tid));
  if (fields.empty()) return reply("error GetGUIThreadInfo failed: %lu", GetLastError());
  reply("ok %s", fields.c_str());
}

void post(const char* hwndText, UINT message, WPARAM wParam) {
  HWND hwnd;
  if (!parseHwnd(hwndText, hwnd)) return reply("error no such window");
  if (!PostMessageA(hwnd, message, wParam, 0))
    return reply("error PostMessageA failed: %lu", GetLastError());
  reply("ok");
}

void postQuit(const char* tidText, const char* codeText) {
  unsigned long long tid, code;
  if (!parseNumber(tidText, tid) || !parseNumber(codeText, code))
    return reply("error usage: post-quit TID CODE");
  if (!PostThreadMessageA(static_cast<DWORD>(tid), WM_QUIT, static_cast<WPARAM>(code), 0))
    return reply("error PostThreadMessageA failed: %lu", GetLastError());
  reply("ok");
}

void bmclick(const char* how, const char* hwndText) {
  HWND hwnd;
  if (!how || !parseHwnd(hwndText, hwnd)) return reply("error usage: bmclick send|post HWND");
  if (std::strcmp(how, "post") == 0) return post(hwndText, BM_CLICK, 0);
  if (std::strcmp(how, "send") != 0) return reply("error usage: bmclick send|post HWND");
  // The click may end the program before it replies; that is no error here.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(hwnd, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
  reply("ok");
}

void prop(const char* hwndText, const char* name) {
  HWND hwnd;
  if (!name || !parseHwnd(hwndText, hwnd)) return reply("error usage: prop HWND NAME");
  reply("ok value=%llu", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, name))));
}

}  // namespace

int main() {
  char line[4096];
  reply("ok probe ready");
  std::fflush(stdout);
  while (std::fgets(line, sizeof line, stdin)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    // Only paths may contain blanks, and they come last: split off at most
    // three words and leave the rest of the line as the last argument.
    char* words[4] = {};
    char* p = line;
    for (int i = 0; i < 4 && p && *p; ++i) {
      while (*p == ' ') ++p;
      words[i] = p;
      if (std::strcmp(words[0], "launch") == 0 && i == 1) break;
      p = std::strchr(p, ' ');
      if (p) *p++ = '\0';
    }
    const char* cmd = words[0] ? words[0] : "";
    if (std::strcmp(cmd, "launch") == 0) launch(words[1]);
    else if (std::strcmp(cmd, "wait") == 0) wait(words[1], words[2]);
    else if (std::strcmp(cmd, "kill") == 0) kill(words[1]);
    else if (std::strcmp(cmd, "info") == 0) info(words[1]);
    else if (std::strcmp(cmd, "gui") == 0) gui(words[1]);
    else if (std::strcmp(cmd, "post-close") == 0) post(words[1], WM_CLOSE, 0);
    else if (std::strcmp(cmd, "post-syscommand-close") == 0) post(words[1], WM_SYSCOMMAND, SC_CLOSE);
    else if (std::strcmp(cmd, "post-quit") == 0) postQuit(words[1], words[2]);
    else if (std::strcmp(cmd, "bmclick") == 0) bmclick(words[1], words[2]);
    else if (std::strcmp(cmd, "prop") == 0) prop(words[1], words[2]);
    else if (std::strcmp(cmd, "btnface") == 0)
      reply("ok colorref=0x%08lX", static_cast<unsigned long>(GetSysColor(COLOR_BTNFACE)));
    else if (std::strcmp(cmd, "quit") == 0) {
      reply("ok");
      std::fflush(stdout);
      break;
    } else reply("error unknown request: %s", cmd);
    std::fflush(stdout);
  }
  for (Launched& l : launched) CloseHandle(l.process);
  return 0;
}
