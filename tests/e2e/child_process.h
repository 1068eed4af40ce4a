// Linux child processes that cannot outlive the test driver.
#pragma once

#include <sys/types.h>

#include <csignal>

#include <string>
#include <vector>

namespace e2e {

struct ChildOptions {
  std::vector<std::string> argv;
  std::vector<std::string> env;  // full environment, NAME=VALUE
  bool pipeStdin = false;
  bool pipeStdout = false;
  int keepFd = -1;  // also inherited by the child (e.g. Xvfb -displayfd)
  int deathSignal = SIGKILL;  // sent to the child when the driver dies; 0: none
};

class Child {
 public:
  Child() = default;
  explicit Child(const ChildOptions& options);
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  Child(Child&& other) noexcept;
  Child& operator=(Child&& other) noexcept;
  ~Child();  // SIGKILL and reap if still running

  pid_t pid() const { return pid_; }
  int stdinFd() const { return in_; }
  int stdoutFd() const { return out_; }
  void closeStdin();

  // Returns the wait status, or -1 while it runs.
  int poll();
  // Waits up to `seconds`; returns the wait status or -1 on time-out.
  int waitFor(double seconds);
  void signal(int sig);
  bool running() { return poll() == -1; }

 private:
  void release();
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int status_ = -1;
};

std::string describeStatus(int waitStatus);

}  // namespace e2e
