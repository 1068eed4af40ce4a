// Talks to probe.exe (tests/win32/probe.cpp) over its stdin and stdout.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// One reply line: a record name and its key=value fields. A bare word
// becomes a field with an empty value ("ok timeout" has "timeout").
struct Record {
  std::string kind;
  std::string line;  // as received
  std::map<std::string, std::string> fields;

  bool has(const std::string& key) const { return fields.count(key) != 0; }
  const std::string& text(const std::string& key) const;
  std::uint64_t number(const std::string& key) const;  // 0x... or decimal
  std::string str() const;                              // for messages
};

Record parseRecord(const std::string& line);

struct Rect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long width() const { return right - left; }
  long height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};
Rect parseRect(const std::string& text);  // "l,t,r,b"
std::string str(const Rect& r);

struct WindowInfo {
  std::uint64_t hwnd = 0, parent = 0, owner = 0, id = 0;
  std::uint32_t style = 0, exstyle = 0;
  std::string className, text;
  Rect rect;      // screen coordinates
  Rect inParent;  // children: in the parent's client coordinates
  Rect client;    // top-level windows: GetClientRect
  bool visible = false;
  std::uint32_t tid = 0;  // top-level windows only
};

struct GuiInfo {
  std::uint64_t active = 0, focus = 0, capture = 0;
};

struct ProcessInfo {
  std::vector<WindowInfo> windows;   // visible top-level windows
  std::vector<WindowInfo> children;  // all their descendants
  std::map<std::uint32_t, GuiInfo> gui;  // by thread id
  std::string raw;                   // the reply, for failure messages

  std::vector<WindowInfo> childrenOf(std::uint64_t hwnd) const;
};

class ProbeClient {
 public:
  // Replies may take `timeScale` times longer than on a fast machine.
  ProbeClient(int toProbe, int fromProbe, int timeScale) : in_(toProbe), out_(fromProbe), timeScale_(timeScale) {}

  // Sends one request; returns the data lines and the final "ok" line.
  // Throws on "error", on a closed pipe or when no reply came in time
  // (20 s, scaled, unless given).
  std::vector<Record> request(const std::string& line, double timeoutSeconds = 0);
  Record readLine(double timeoutSeconds);

  struct Launched {
    std::uint32_t pid, tid;
  };
  Launched launch(const std::string& exePath);
  // The full 32-bit exit status, or nothing if it still runs after `ms`.
  std::optional<std::uint32_t> wait(std::uint32_t pid, unsigned ms);
  void kill(std::uint32_t pid);
  ProcessInfo info(std::uint32_t pid);
  GuiInfo gui(std::uint32_t tid);
  void postClose(std::uint64_t hwnd);
  void postSysCommandClose(std::uint64_t hwnd);
  void postQuit(std::uint32_t tid, std::uint32_t code);
  void sendBmClick(std::uint64_t hwnd);
  void postBmClick(std::uint64_t hwnd);
  std::uint32_t buttonFaceColorRef();
  // A window property (GetPropA), 0 when the window has none of that name.
  std::uint64_t property(std::uint64_t hwnd, const std::string& name);

 private:
  int in_, out_;
  int timeScale_;
  std::string buffer_;
};

std::string hex(std::uint64_t value);

}  // namespace e2e
