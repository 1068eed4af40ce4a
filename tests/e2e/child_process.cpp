#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace e2e {

namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::vector<char*> pointers(const std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
  out.push_back(nullptr);
  return out;
}

}  // namespace

Child::Child(const ChildOptions& options) {
  if (options.argv.empty()) throw std::invalid_argument("Child: empty argv");
  int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1}, errPipe[2];
  if (options.pipeStdin && pipe2(inPipe, O_CLOEXEC) != 0) fail("pipe");
  if (options.pipeStdout && pipe2(outPipe, O_CLOEXEC) != 0) fail("pipe");
  // Reports a failed exec to the parent instead of a silent exit code.
  if (pipe2(errPipe, O_CLOEXEC) != 0) fail("pipe");
  std::vector<char*> argv = pointers(options.argv);
  std::vector<char*> env = pointers(options.env);
  pid_t parent = getpid();

  pid_ = fork();
  if (pid_ < 0) fail("fork");
  if (pid_ == 0) {
    // If the driver dies (crash, ctest time-out), the child goes too.
    if (options.deathSignal) {
      prctl(PR_SET_PDEATHSIG, options.deathSignal);
      if (getppid() != parent) _exit(127);
    }
    setpgid(0, 0);  // terminal signals belong to the driver alone
    if (options.pipeStdin) dup2(inPipe[0], 0);
    if (options.pipeStdout) dup2(outPipe[1], 1);
    if (options.keepFd >= 0) {
      int flags = fcntl(options.keepFd, F_GETFD);
      fcntl(options.keepFd, F_SETFD, flags & ~FD_CLOEXEC);
    }
    execve(argv[0], argv.data(), env.data());
    int err = errno;
    ssize_t ignored = write(errPipe[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  close(errPipe[1]);
  if (options.pipeStdin) {
    close(inPipe[0]);
    in_ = inPipe[1];
  }
  if (options.pipeStdout) {
    close(outPipe[1]);
    out_ = outPipe[0];
  }
  int err = 0;
  ssize_t n = read(errPipe[0], &err, sizeof err);
  close(errPipe[0]);
  if (n == sizeof err) {
    waitFor(5);
    release();
    errno = err;
    fail("cannot start " + options.argv[0]);
  }
}

Child::Child(Child&& other) noexcept { *this = std::move(other); }

Child& Child::operator=(Child&& other) noexcept {
  if (this != &other) {
    release();
    pid_ = other.pid_;
    in_ = other.in_;
    out_ = other.out_;
    status_ = other.status_;
    other.pid_ = -1;
    other.in_ = other.out_ = -1;
  }
  return *this;
}

Child::~Child() { release(); }

void Child::release() {
  closeStdin();
  if (out_ >= 0) close(out_);
  out_ = -1;
  if (pid_ > 0 && poll() == -1) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
  pid_ = -1;
}

void Child::closeStdin() {
  if (in_ >= 0) close(in_);
  in_ = -1;
}

int Child::poll() {
  if (pid_ <= 0 || status_ != -1) return status_;
  int status;
  if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  return status_;
}

int Child::waitFor(double seconds) {
  if (poll() != -1) return status_;
  // waitpid has no time-out; a process file descriptor turns readable
  // when the process ends.
  int fd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  if (fd < 0) fail("pidfd_open");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (poll() == -1) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p = {fd, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left.count()));
  }
  close(fd);
  return status_;
}

void Child::signal(int sig) {
  if (pid_ > 0 && poll() == -1) kill(pid_, sig);
}

std::string describeStatus(int waitStatus) {
  if (waitStatus == -1) return "still running";
  if (WIFEXITED(waitStatus)) return "exit code " + std::to_string(WEXITSTATUS(waitStatus));
  if (WIFSIGNALED(waitStatus)) return std::string("signal ") + strsignal(WTERMSIG(waitStatus));
  return "wait status " + std::to_string(waitStatus);
}

}  // namespace e2e
