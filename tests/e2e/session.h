// One end-to-end session: a private X server, a private copy of the booted
// Wine prefix with its own wineserver, and the probe running inside it.
// Everything it starts ends with it, and with the driver if that dies.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "probe_client.h"
#include "x_display.h"

namespace e2e {

struct SessionConfig {
  std::string build;           // the build under test, for messages: "i686", "x86-64"
  std::string programDir;      // its startwin.exe, failure programs and in-process test
  std::string probe;           // probe.exe, which may be of the other build
  std::string templatePrefix;  // booted by scripts/make-wine-prefix
  std::string workDir;         // the prefix copy goes here; empty: a /tmp folder
  int screenWidth = 1920;
  int screenHeight = 1080;
  // Every wait of the tests is this many times longer, for a slow machine
  // such as an emulated one.
  int timeScale = 1;

  // STARTWIN_E2E_BUILD, STARTWIN_E2E_PROGRAMS, STARTWIN_E2E_PROBE,
  // STARTWIN_E2E_PREFIX, STARTWIN_E2E_WORK, STARTWIN_E2E_SCREEN
  // (WIDTHxHEIGHT) and STARTWIN_E2E_TIME_SCALE. Throws naming what is
  // missing.
  static SessionConfig fromEnvironment();
};

class Session {
 public:
  explicit Session(const SessionConfig& config);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  XDisplay& x() { return *x_; }
  ProbeClient& probe() { return *probeClient_; }
  const SessionConfig& config() const { return config_; }
  // Absolute Linux path of a program of the build under test.
  std::string program(const std::string& exeName) const;

 private:
  void startX();
  void startWine();
  std::vector<std::string> wineEnvironment() const;
  void shutDown() noexcept;

  SessionConfig config_;
  std::string display_;
  std::string prefix_;
  bool ownsPrefix_ = false;
  Child xvfb_;
  Child guardian_;
  Child wineserver_;
  Child probe_;
  std::unique_ptr<XDisplay> x_;
  std::unique_ptr<ProbeClient> probeClient_;
};

}  // namespace e2e
