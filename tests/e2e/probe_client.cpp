#include "probe_client.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace e2e {

std::string hex(std::uint64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(value));
  return buf;
}

const std::string& Record::text(const std::string& key) const {
  auto it = fields.find(key);
  if (it == fields.end()) throw std::runtime_error("probe reply has no " + key + ": " + str());
  return it->second;
}

std::uint64_t Record::number(const std::string& key) const {
  const std::string& value = text(key);
  char* end = nullptr;
  std::uint64_t n = std::strtoull(value.c_str(), &end, 0);
  if (value.empty() || *end) throw std::runtime_error("probe reply: " + key + " is no number: " + str());
  return n;
}

std::string Record::str() const { return line; }

Record parseRecord(const std::string& line) {
  Record record;
  record.line = line;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < line.size() && line[i] == ' ') ++i;
  };
  auto word = [&] {
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '=') ++i;
    return line.substr(start, i - start);
  };
  skipBlanks();
  record.kind = word();
  for (skipBlanks(); i < line.size(); skipBlanks()) {
    std::string key = word();
    std::string value;
    if (i < line.size() && line[i] == '=') {
      ++i;
      if (i < line.size() && line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i) {
          if (line[i] != '\\' || i + 1 >= line.size()) {
            value += line[i];
            continue;
          }
          char c = line[++i];
          if (c == 'n') value += '\n';
          else if (c == 'r') value += '\r';
          else if (c == 't') value += '\t';
          else if (c == 'x' && i + 2 < line.size()) {
            value += static_cast<char>(std::strtoul(line.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
          } else value += c;
        }
        ++i;  // closing quote
      } else {
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        value = line.substr(start, i - start);
      }
    } else if (key.empty()) {
      ++i;  // stray character; never loop on it
      continue;
    }
    record.fields[key] = value;
  }
  return record;
}

Rect parseRect(const std::string& text) {
  Rect r;
  if (std::sscanf(text.c_str(), "%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom) != 4)
    throw std::runtime_error("probe reply: bad rectangle " + text);
  return r;
}

std::string str(const Rect& r) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return buf;
}

std::vector<WindowInfo> ProcessInfo::childrenOf(std::uint64_t hwnd) const {
  std::vector<WindowInfo> out;
  for (const WindowInfo& c : children)
    if (c.parent == hwnd) out.push_back(c);
  return out;
}

Record ProbeClient::readLine(double timeoutSeconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  for (;;) {
    std::size_t newline = buffer_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffer_.substr(0, newline);
      buffer_.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return parseRecord(line);
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
      throw std::runtime_error("probe gave no answer within " + std::to_string(timeoutSeconds) + " s");
    pollfd p = {out_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    ssize_t n = read(out_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("probe closed its output (did it crash?)");
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

std::vector<Record> ProbeClient::request(const std::string& line, double timeoutSeconds) {
  std::string out = line + "\n";
  if (write(in_, out.data(), out.size()) != static_cast<ssize_t>(out.size()))
    throw std::runtime_error("cannot write to the probe: " + line);
  if (timeoutSeconds <= 0) timeoutSeconds = 20.0 * timeScale_;
  std::vector<Record> records;
  for (;;) {
    Record r = readLine(timeoutSeconds);
    if (r.kind == "error") throw std::runtime_error("probe: '" + line + "': " + r.line);
    records.push_back(r);
    if (r.kind == "ok") return records;
  }
}

ProbeClient::Launched ProbeClient::launch(const std::string& exePath) {
  Record ok = request("launch " + exePath).back();
  return {static_cast<std::uint32_t>(ok.number("pid")), static_cast<std::uint32_t>(ok.number("tid"))};
}

std::optional<std::uint32_t> ProbeClient::wait(std::uint32_t pid, unsigned ms) {
  Record ok = request("wait " + std::to_string(pid) + " " + std::to_string(ms), ms / 1000.0 + 20.0 * timeScale_).back();
  if (ok.has("timeout")) return std::nullopt;
  return static_cast<std::uint32_t>(ok.number("status"));
}

void ProbeClient::kill(std::uint32_t pid) { request("kill " + std::to_string(pid)); }

namespace {

WindowInfo windowFrom(const Record& r) {
  WindowInfo w;
  w.hwnd = r.number("hwnd");
  w.parent = r.number("parent");
  w.owner = r.number("owner");
  w.id = r.number("id");
  w.style = static_cast<std::uint32_t>(r.number("style"));
  w.exstyle = static_cast<std::uint32_t>(r.number("exstyle"));
  w.className = r.text("class");
  w.text = r.text("text");
  w.rect = parseRect(r.text("rect"));
  w.visible = r.number("visible") != 0;
  if (r.has("crect")) w.inParent = parseRect(r.text("crect"));
  if (r.has("client")) w.client = parseRect(r.text("client"));
  if (r.has("tid")) w.tid = static_cast<std::uint32_t>(r.number("tid"));
  return w;
}

GuiInfo guiFrom(const Record& r) {
  return {r.number("active"), r.number("focus"), r.number("capture")};
}

}  // namespace

ProcessInfo ProbeClient::info(std::uint32_t pid) {
  ProcessInfo info;
  for (const Record& r : request("info " + std::to_string(pid))) {
    info.raw += r.str() + "\n";
    if (r.kind == "window") info.windows.push_back(windowFrom(r));
    else if (r.kind == "child") info.children.push_back(windowFrom(r));
    else if (r.kind == "gui") info.gui[static_cast<std::uint32_t>(r.number("tid"))] = guiFrom(r);
  }
  return info;
}

GuiInfo ProbeClient::gui(std::uint32_t tid) { return guiFrom(request("gui " + std::to_string(tid)).back()); }

void ProbeClient::postClose(std::uint64_t hwnd) { request("post-close " + hex(hwnd)); }
void ProbeClient::postSysCommandClose(std::uint64_t hwnd) { request("post-syscommand-close " + hex(hwnd)); }
void ProbeClient::postQuit(std::uint32_t tid, std::uint32_t code) {
  request("post-quit " + std::to_string(tid) + " " + std::to_string(code));
}
void ProbeClient::sendBmClick(std::uint64_t hwnd) { request("bmclick send " + hex(hwnd)); }
void ProbeClient::postBmClick(std::uint64_t hwnd) { request("bmclick post " + hex(hwnd)); }

std::uint32_t ProbeClient::buttonFaceColorRef() {
  return static_cast<std::uint32_t>(request("btnface").back().number("colorref"));
}

std::uint64_t ProbeClient::property(std::uint64_t hwnd, const std::string& name) {
  return request("prop " + hex(hwnd) + " " + name).back().number("value");
}

}  // namespace e2e
