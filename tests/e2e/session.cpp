#include "session.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace fs = std::filesystem;

namespace {

const char* const kWine = "/usr/lib/wine/wine64";
const char* const kWineServer = "/usr/lib/wine/wineserver64";

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void requireFile(const std::string& path, const std::string& hint) {
  if (access(path.c_str(), R_OK) != 0)
    throw std::runtime_error("missing " + path + " (" + hint + ")");
}

std::string findInPath(const std::string& tool, const std::string& hint) {
  std::string path = env("PATH");
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string candidate = path.substr(start, end - start) + "/" + tool;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  throw std::runtime_error(tool + " not found in PATH (" + hint + ")");
}

// Program files of the booted prefix are only ever read, so the copy links
// them (about 700 MB) and copies the rest, which Wine may rewrite in place.
bool onlyRead(const fs::path& file) {
  static const std::set<std::string> kinds = {".dll", ".exe", ".sys", ".drv", ".nls", ".ocx", ".cpl",
                                              ".acm", ".ax", ".ds", ".tlb", ".msstyles", ".com"};
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return kinds.count(ext) != 0;
}

void copyPrefix(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
    fs::path target = to / it->path().lexically_relative(from);
    if (it->is_symlink()) {
      fs::copy_symlink(it->path(), target);
    } else if (it->is_directory()) {
      fs::create_directory(target);
    } else if (onlyRead(it->path())) {
      std::error_code linkFailed;
      fs::create_hard_link(it->path(), target, linkFailed);
      if (linkFailed) fs::copy_file(it->path(), target);
    } else {
      fs::copy_file(it->path(), target);
    }
  }
}

// Whether the wineserver `pid` listens yet. Its socket sits beside the
// lock file it holds; where that folder is differs between Wine builds
// (Debian's names it after a tag kept in the prefix), so ask the process.
bool serverListens(pid_t pid) {
  std::error_code error;
  for (const fs::directory_entry& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    fs::path target = fs::read_symlink(fd.path(), error);
    if (!error && target.filename() == "lock" && fs::exists(target.parent_path() / "socket", error)) return true;
  }
  return false;
}

}  // namespace

SessionConfig SessionConfig::fromEnvironment() {
  SessionConfig c;
  c.build = env("STARTWIN_E2E_BUILD");
  c.programDir = env("STARTWIN_E2E_PROGRAMS");
  c.probe = env("STARTWIN_E2E_PROBE");
  c.templatePrefix = env("STARTWIN_E2E_PREFIX");
  c.workDir = env("STARTWIN_E2E_WORK");
  for (const char* name : {"STARTWIN_E2E_BUILD", "STARTWIN_E2E_PROGRAMS", "STARTWIN_E2E_PROBE", "STARTWIN_E2E_PREFIX"})
    if (env(name).empty()) throw std::runtime_error(std::string(name) + " is not set");
  std::string scale = env("STARTWIN_E2E_TIME_SCALE");
  if (!scale.empty()) {
    char tail;
    if (std::sscanf(scale.c_str(), "%d%c", &c.timeScale, &tail) != 1 || c.timeScale < 1)
      throw std::runtime_error("STARTWIN_E2E_TIME_SCALE must be a whole number of at least 1, not " + scale);
  }
  std::string screen = env("STARTWIN_E2E_SCREEN");
  if (!screen.empty()) {
    char tail;
    if (std::sscanf(screen.c_str(), "%dx%d%c", &c.screenWidth, &c.screenHeight, &tail) != 2 ||
        c.screenWidth <= 0 || c.screenHeight <= 0)
      throw std::runtime_error("STARTWIN_E2E_SCREEN must be WIDTHxHEIGHT, not " + screen);
  }
  return c;
}

Session::Session(const SessionConfig& config) : config_(config) {
  for (const char* exe : {"startwin.exe", "startwin-fail-window.exe", "startwin-fail-button.exe",
                          "startwin-inprocess-test.exe"})
    requireFile(program(exe), "build the " + config_.build + " preset with STARTWIN_TEST_PROGRAMS=ON");
  requireFile(config_.probe, "build the win64 preset with STARTWIN_TEST_PROGRAMS=ON");
  requireFile(config_.templatePrefix + "/.startwin-prefix-ready", "the Wine prefix fixture (scripts/make-wine-prefix) did not run");
  requireFile(kWine, "Debian package wine64");
  requireFile(kWineServer, "Debian package wine64");
  try {
    startX();
    startWine();
  } catch (...) {
    shutDown();
    throw;
  }
}

Session::~Session() { shutDown(); }

std::string Session::program(const std::string& exeName) const {
  return fs::absolute(fs::path(config_.programDir) / exeName).lexically_normal().string();
}

void Session::startX() {
  std::string xvfb = findInPath("Xvfb", "Debian package xvfb");
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  ChildOptions o;
  // -displayfd: Xvfb takes the first free display and reports it once it
  // accepts connections, so parallel sessions never collide.
  o.argv = {xvfb, "-displayfd", std::to_string(fds[1]), "-screen", "0",
            std::to_string(config_.screenWidth) + "x" + std::to_string(config_.screenHeight) + "x24",
            "-nolisten", "tcp", "-noreset", "-br"};
  o.env = {"PATH=" + env("PATH")};
  o.keepFd = fds[1];
  o.deathSignal = SIGTERM;  // lets Xvfb remove its lock file
  try {
    xvfb_ = Child(o);
  } catch (...) {
    close(fds[0]);
    close(fds[1]);
    throw;
  }
  close(fds[1]);
  std::string number;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p = {fds[0], POLLIN, 0};
    char c;
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0 || read(fds[0], &c, 1) != 1) {
      close(fds[0]);
      throw std::runtime_error("Xvfb did not report a display (" + describeStatus(xvfb_.poll()) + ")");
    }
    if (c == '\n') break;
    number += c;
  }
  close(fds[0]);
  display_ = ":" + number;
  x_ = std::make_unique<XDisplay>(display_);
}

std::vector<std::string> Session::wineEnvironment() const {
  std::vector<std::string> out;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    std::string name = entry.substr(0, entry.find('='));
    if (name != "DISPLAY" && name.rfind("WINE", 0) != 0 && name != "WAYLAND_DISPLAY") out.push_back(entry);
  }
  out.push_back("DISPLAY=" + display_);
  out.push_back("WINEPREFIX=" + prefix_);
  out.push_back("WINEDEBUG=-all");
  out.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
  out.push_back(std::string("WINESERVER=") + kWineServer);
  return out;
}

void Session::startWine() {
  if (config_.workDir.empty()) {
    char dir[] = "/tmp/startwin-e2e-XXXXXX";
    if (!mkdtemp(dir)) throw std::runtime_error("mkdtemp failed");
    prefix_ = dir;
  } else {
    fs::create_directories(config_.workDir);
    prefix_ = fs::absolute(fs::path(config_.workDir) / "prefix").string();
    fs::remove_all(prefix_);  // left by a driver that was killed
  }
  ownsPrefix_ = true;
  copyPrefix(config_.templatePrefix, prefix_);

  // Wine's own service processes (explorer, services, rpcss...) are no
  // children of ours and outlive a killed wineserver. Only "wineserver -k"
  // ends them, so a guardian waits for the driver to close its stdin, or
  // to die, then ends the server and everything under it and removes the
  // prefix copy.
  ChildOptions guardian;
  guardian.argv = {"/bin/sh", "-c", "read -r _; \"$0\" -k 2>/dev/null; \"$0\" -w; rm -rf \"$1\"",
                   kWineServer, prefix_};
  guardian.env = wineEnvironment();
  guardian.pipeStdin = true;
  guardian.deathSignal = 0;
  guardian_ = Child(guardian);

  // A persistent server in the foreground, as our own child: programs
  // start warm. It must outlive a dead driver until the guardian ends it.
  ChildOptions server;
  server.argv = {kWineServer, "-f", "-p"};
  server.env = wineEnvironment();
  server.deathSignal = 0;
  wineserver_ = Child(server);
  // A Wine program started before the server listens would start a second
  // server of its own.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10 * config_.timeScale);
  while (!serverListens(wineserver_.pid())) {
    if (!wineserver_.running())
      throw std::runtime_error("wineserver ended at start (" + describeStatus(wineserver_.poll()) + ")");
    if (std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("wineserver did not listen in time");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  ChildOptions probe;
  probe.argv = {kWine, fs::absolute(config_.probe).lexically_normal().string()};
  probe.env = wineEnvironment();
  probe.pipeStdin = true;
  probe.pipeStdout = true;
  probe_ = Child(probe);
  probeClient_ = std::make_unique<ProbeClient>(probe_.stdinFd(), probe_.stdoutFd(), config_.timeScale);
  Record hello = probeClient_->readLine(60.0 * config_.timeScale);
  if (hello.line != "ok probe ready") throw std::runtime_error("probe said: " + hello.line);
}

void Session::shutDown() noexcept {
  try {
    if (probeClient_ && probe_.running()) {
      try {
        probeClient_->request("quit", 10);
      } catch (const std::exception& e) {
        std::cerr << "e2e: probe did not quit: " << e.what() << "\n";
      }
    }
    probeClient_.reset();
    probe_.closeStdin();
    if (probe_.pid() > 0 && probe_.waitFor(10) == -1) probe_.signal(SIGKILL);
    guardian_.closeStdin();  // ends the wineserver and removes the prefix
    if (guardian_.pid() > 0 && guardian_.waitFor(30) == -1) std::cerr << "e2e: the Wine clean-up hangs\n";
    if (wineserver_.pid() > 0 && wineserver_.waitFor(10) == -1) {
      std::cerr << "e2e: wineserver did not end; killing it\n";
      wineserver_.signal(SIGKILL);
    }
    probe_ = Child();
    guardian_ = Child();
    wineserver_ = Child();
    x_.reset();
    if (xvfb_.pid() > 0) {
      xvfb_.signal(SIGTERM);
      if (xvfb_.waitFor(10) == -1) xvfb_.signal(SIGKILL);
    }
    xvfb_ = Child();
    if (ownsPrefix_) {
      std::error_code ignored;
      fs::remove_all(prefix_, ignored);
      ownsPrefix_ = false;
    }
  } catch (const std::exception& e) {
    std::cerr << "e2e: shutting down: " << e.what() << "\n";
  }
}

}  // namespace e2e
