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
  std::string win64Dir;        // startwin.exe, the failure programs, probe.exe
  std::string templatePrefix;  // booted by scripts/make-wine-prefix
  std::string workDir;         // the prefix copy goes here; empty: a /tmp folder
  int screenWidth = 1920;
  int screenHeight = 1080;

  // STARTWIN_WIN64_DIR, STARTWIN_E2E_PREFIX, STARTWIN_E2E_WORK and
  // STARTWIN_E2E_SCREEN (WIDTHxHEIGHT). Throws naming what is missing.
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
  // Absolute Linux path of a program in the win64 folder.
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
