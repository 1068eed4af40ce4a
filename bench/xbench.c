/*
 * The measuring side of bench/run: a native X11 client that launches each
 * Windows program under Wine itself (so that "process start" is its own
 * clock reading just before the spawn) and times what it then sees:
 *
 *   mapped     MapNotify of a viewable top-level window whose WM_CLASS is
 *              the exe's file name and whose _NET_WM_PID is the child's pid
 *   focused    the X input focus is on that window (FocusIn, or already
 *              there when first asked)
 *   ready      the program has gone idle in its message loop: Wine's
 *              input-idle event, read by readyprobe.exe (WaitForInputIdle),
 *              which also reports the class of the Win32 focus window
 *   exit       a pidfd of the child becomes readable after the XTest Esc key
 *              or left click on the button
 *
 * It alternates the programs (and swaps who goes first every round) so that
 * drifts of the machine spread evenly over both, and writes one
 * tab-separated row per launch.
 *
 * usage: xbench --wine LOADER --probe PROBE.EXE --out FILE.tsv --log FILE
 *               [--runs N] [--idle-runs N] [--idle-seconds S] [--timeout S]
 *               NAME=PROGRAM.EXE NAME=PROGRAM.EXE
 */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

/* The window both programs open, and where on it the click goes. */
enum { kWidth = 392, kHeight = 384, kButtonX = 64, kButtonY = 24, kButtonW = 288, kButtonH = 32 };

static const char *wine_loader;
static int log_fd = -1;
static double timeout_ms = 20000;

/* Processes to end if the run has to stop half-way. */
static pid_t program_pid = -1, probe_pid = -1;

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void end_children(void) {
  if (program_pid > 0) kill(program_pid, SIGKILL);
  if (probe_pid > 0) kill(probe_pid, SIGKILL);
  if (program_pid > 0) waitpid(program_pid, NULL, 0);
  if (probe_pid > 0) waitpid(probe_pid, NULL, 0);
  program_pid = probe_pid = -1;
}

static void die(const char *format, ...) {
  va_list args;
  va_start(args, format);
  fputs("xbench: error: ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  end_children();
  exit(1);
}

static const char *base_name(const char *path) {
  const char *slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

/* Windows of other processes come and go between an event and a query about
 * them (the 1x1 IME window, a program that has just ended): not an error. */
static int ignore_x_errors(Display *display, XErrorEvent *error) {
  (void)display;
  (void)error;
  return 0;
}

static pid_t spawn(char *const argv[], int stdin_fd, int stdout_fd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
  posix_spawn_file_actions_adddup2(&actions, stdout_fd, 1);
  posix_spawn_file_actions_adddup2(&actions, log_fd, 2);
  pid_t pid;
  int error = posix_spawn(&pid, argv[0], &actions, NULL, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error) die("cannot start %s: %s", argv[0], strerror(error));
  return pid;
}

static int open_pidfd(pid_t pid) {
  int fd = (int)syscall(SYS_pidfd_open, pid, 0);
  if (fd < 0) die("pidfd_open: %s (Linux 5.3 or later is needed)", strerror(errno));
  return fd;
}

/* ---- the probe -------------------------------------------------------- */

static int probe_in = -1, probe_out = -1;

static void probe_read_line(char *line, size_t capacity, double deadline) {
  size_t length = 0;
  for (;;) {
    double left = deadline - now_ms();
    if (left <= 0) die("readyprobe.exe did not answer within %.0f s", timeout_ms / 1e3);
    struct pollfd p = {probe_out, POLLIN, 0};
    if (poll(&p, 1, (int)left + 1) < 0 && errno != EINTR) die("poll: %s", strerror(errno));
    if (!(p.revents & (POLLIN | POLLHUP))) continue;
    char c;
    ssize_t got = read(probe_out, &c, 1);
    if (got <= 0) die("readyprobe.exe ended");
    if (c == '\r') continue;
    if (c == '\n') break;
    if (length + 1 < capacity) line[length++] = c;
  }
  line[length] = 0;
}

static void start_probe(const char *probe) {
  int to_probe[2], from_probe[2];
  if (pipe2(to_probe, O_CLOEXEC) || pipe2(from_probe, O_CLOEXEC)) die("pipe: %s", strerror(errno));
  char *argv[] = {(char *)wine_loader, (char *)probe, NULL};
  probe_pid = spawn(argv, to_probe[0], from_probe[1]);
  close(to_probe[0]);
  close(from_probe[1]);
  probe_in = to_probe[1];
  probe_out = from_probe[0];
  char line[256];
  probe_read_line(line, sizeof line, now_ms() + timeout_ms);
  if (strcmp(line, "hello") != 0) die("readyprobe.exe said \"%s\"", line);
}

static void stop_probe(void) {
  close(probe_in);
  int status;
  waitpid(probe_pid, &status, 0);
  probe_pid = -1;
  close(probe_out);
}

/* Blocks until the program that owns the foreground window is idle in its
 * loop; returns the class name of its focus window. */
static void probe_ready(const char *exe, char *focus_class, size_t capacity) {
  char request[600];
  int n = snprintf(request, sizeof request, "ready %s %.0f\n", exe, timeout_ms);
  if (write(probe_in, request, (size_t)n) != n) die("cannot write to readyprobe.exe");
  char line[600];
  probe_read_line(line, sizeof line, now_ms() + timeout_ms + 1000);
  if (strncmp(line, "ok ", 3) != 0) die("%s: readyprobe.exe: %s", exe, line);
  size_t length = strnlen(line + 3, capacity - 1);
  memcpy(focus_class, line + 3, length);
  focus_class[length] = 0;
}

/* ---- /proc ------------------------------------------------------------ */

static long long status_field_kb(pid_t pid, const char *name) {
  char path[64], line[256];
  snprintf(path, sizeof path, "/proc/%d/status", pid);
  FILE *file = fopen(path, "r");
  if (!file) die("cannot read %s", path);
  long long value = -1;
  size_t length = strlen(name);
  while (fgets(line, sizeof line, file))
    if (strncmp(line, name, length) == 0 && line[length] == ':') value = atoll(line + length + 1);
  fclose(file);
  if (value < 0) die("%s has no %s", path, name);
  return value;
}

struct cpu_sample {
  long long ticks;    /* utime + stime of the whole process, /proc/PID/stat */
  long long run_ns;   /* time on a CPU, summed over the threads */
  long long slices;   /* times a thread was put on a CPU: its wake-ups */
};

static struct cpu_sample cpu_of(pid_t pid) {
  struct cpu_sample sample = {0, 0, 0};
  char path[300], text[1024];
  snprintf(path, sizeof path, "/proc/%d/stat", pid);
  FILE *file = fopen(path, "r");
  if (!file) die("cannot read %s", path);
  size_t got = fread(text, 1, sizeof text - 1, file);
  fclose(file);
  text[got] = 0;
  /* The command name may hold spaces and parentheses: fields start after
   * the last ')'. utime and stime are the 14th and 15th fields. */
  char *rest = strrchr(text, ')');
  unsigned long long utime, stime;
  if (!rest || sscanf(rest + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
                      &utime, &stime) != 2)
    die("cannot parse %s", path);
  sample.ticks = (long long)(utime + stime);

  snprintf(path, sizeof path, "/proc/%d/task", pid);
  DIR *tasks = opendir(path);
  if (!tasks) die("cannot read %s", path);
  struct dirent *task;
  while ((task = readdir(tasks))) {
    if (task->d_name[0] == '.') continue;
    char stat_path[300];
    snprintf(stat_path, sizeof stat_path, "/proc/%d/task/%s/schedstat", pid, task->d_name);
    FILE *schedstat = fopen(stat_path, "r");
    if (!schedstat) continue; /* the thread has just ended */
    long long run, wait, slices;
    if (fscanf(schedstat, "%lld %lld %lld", &run, &wait, &slices) == 3) {
      sample.run_ns += run;
      sample.slices += slices;
    }
    fclose(schedstat);
  }
  closedir(tasks);
  return sample;
}

/* ---- X ---------------------------------------------------------------- */

static Display *display;
static Atom net_wm_pid;

static int class_is(Window window, const char *exe) {
  XClassHint hint = {NULL, NULL};
  if (!XGetClassHint(display, window, &hint)) return 0;
  int same = hint.res_name && strcasecmp(hint.res_name, exe) == 0;
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return same;
}

static long window_pid(Window window) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char *data = NULL;
  long pid = -1;
  if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data && format == 32 && count == 1)
    pid = (long)*(unsigned long *)data;
  if (data) XFree(data);
  return pid;
}

static int is_viewable(Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) &&
         attributes.map_state == IsViewable;
}

static int holds_focus(Window window) {
  Window focus;
  int revert;
  XGetInputFocus(display, &focus, &revert);
  while (focus != None && focus != PointerRoot) {
    if (focus == window) return 1;
    Window root, parent, *children = NULL;
    unsigned count;
    if (!XQueryTree(display, focus, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (focus == root) return 0;
    focus = parent;
  }
  return 0;
}

static void forget_x_events(void) {
  XSync(display, False);
  XEvent event;
  while (XPending(display)) XNextEvent(display, &event);
}

static int screen_width(void) { return DisplayWidth(display, DefaultScreen(display)); }
static int screen_height(void) { return DisplayHeight(display, DefaultScreen(display)); }

/* Where the button's centre is on the screen, if the window is centred. */
static int button_x(void) { return (screen_width() - kWidth) / 2 + kButtonX + kButtonW / 2; }
static int button_y(void) { return (screen_height() - kHeight) / 2 + kButtonY + kButtonH / 2; }

/* ---- one launch ------------------------------------------------------- */

enum ending { END_ESC, END_CLICK };

struct launch {
  double mapped_ms, focused_ms, ready_ms, exit_ms;
  long long hwm_kb, rss_kb, maxrss_kb;
  struct cpu_sample idle;
  char focus_class[64];
};

static struct launch launch_once(const char *path, enum ending ending, int idle_seconds) {
  struct launch result;
  memset(&result, 0, sizeof result);
  const char *exe = base_name(path);
  /* The pointer waits in a corner, off the window: over the themed button,
   * Wine tracks the mouse with a timer that wakes the program about a
   * thousand times a second, which would swamp the idle measurement. */
  XTestFakeMotionEvent(display, DefaultScreen(display), 0, 0, CurrentTime);
  forget_x_events();

  char *argv[] = {(char *)wine_loader, (char *)path, NULL};
  int null_fd = open("/dev/null", O_RDWR | O_CLOEXEC);
  double start = now_ms();
  program_pid = spawn(argv, null_fd, log_fd);
  close(null_fd);
  int pidfd = open_pidfd(program_pid);
  double deadline = start + timeout_ms;

  Window window = None;
  double mapped = 0, focused = 0;
  while (!focused) {
    while (!focused && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && window == None) {
        Window w = event.xmap.window;
        if (!is_viewable(w) || !class_is(w, exe)) continue;
        long owner = window_pid(w);
        if (owner != -1 && owner != program_pid) continue;
        window = w;
        mapped = now_ms();
        XSelectInput(display, window, FocusChangeMask);
        if (holds_focus(window)) focused = now_ms();
      } else if (event.type == FocusIn && window != None && event.xfocus.window == window &&
                 event.xfocus.detail != NotifyPointer && event.xfocus.detail != NotifyPointerRoot &&
                 event.xfocus.detail != NotifyDetailNone) {
        focused = now_ms();
      }
    }
    if (focused) break;
    double left = deadline - now_ms();
    if (left <= 0) {
      if (window == None)
        die("%s: no window mapped within %.0f s of the start", exe, timeout_ms / 1e3);
      die("%s: its window was mapped but got no keyboard focus within %.0f s", exe,
          timeout_ms / 1e3);
    }
    struct pollfd p[2] = {{ConnectionNumber(display), POLLIN, 0}, {pidfd, POLLIN, 0}};
    if (poll(p, 2, (int)left + 1) < 0 && errno != EINTR) die("poll: %s", strerror(errno));
    if (p[1].revents & POLLIN) die("%s ended before its window was mapped and focused", exe);
  }
  result.mapped_ms = mapped - start;
  result.focused_ms = focused - start;

  int x, y;
  unsigned width, height, border, depth;
  Window root, child;
  if (!XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth) ||
      !XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child))
    die("%s: its window vanished", exe);
  if (width != kWidth || height != kHeight || x != (screen_width() - kWidth) / 2 ||
      y != (screen_height() - kHeight) / 2)
    die("%s: window at %d,%d size %ux%u, not the centred %dx%d", exe, x, y, width, height, kWidth,
        kHeight);

  probe_ready(exe, result.focus_class, sizeof result.focus_class);
  result.ready_ms = now_ms() - start;
  if (strcasecmp(result.focus_class, "Button") != 0)
    die("%s: the keyboard focus is on a window of class %s, not on the button", exe,
        result.focus_class);

  if (idle_seconds > 0) {
    struct cpu_sample before = cpu_of(program_pid);
    /* The measurement interval itself: nothing to wait for but the clock,
     * and the program's end, which would spoil the sample. */
    struct pollfd p = {pidfd, POLLIN, 0};
    double until = now_ms() + idle_seconds * 1e3;
    for (double left; (left = until - now_ms()) > 0;) {
      if (poll(&p, 1, (int)left + 1) > 0) die("%s ended while idle", exe);
    }
    struct cpu_sample after = cpu_of(program_pid);
    result.idle.ticks = after.ticks - before.ticks;
    result.idle.run_ns = after.run_ns - before.run_ns;
    result.idle.slices = after.slices - before.slices;
  } else {
    result.idle.ticks = result.idle.run_ns = result.idle.slices = -1;
  }
  result.hwm_kb = status_field_kb(program_pid, "VmHWM");
  result.rss_kb = status_field_kb(program_pid, "VmRSS");

  if (ending == END_CLICK) {
    XTestFakeMotionEvent(display, DefaultScreen(display), button_x(), button_y(), CurrentTime);
    XSync(display, False);
  }
  double input = now_ms();
  if (ending == END_ESC) {
    KeyCode escape = XKeysymToKeycode(display, XK_Escape);
    XTestFakeKeyEvent(display, escape, True, CurrentTime);
    XTestFakeKeyEvent(display, escape, False, CurrentTime);
  } else {
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
  }
  XFlush(display);
  struct pollfd p = {pidfd, POLLIN, 0};
  for (;;) {
    double left = input + timeout_ms - now_ms();
    if (left <= 0)
      die("%s did not end within %.0f s of the %s", exe, timeout_ms / 1e3,
          ending == END_ESC ? "Esc key" : "click");
    if (poll(&p, 1, (int)left + 1) > 0) break;
  }
  result.exit_ms = now_ms() - input;

  int status;
  struct rusage usage;
  if (wait4(program_pid, &status, 0, &usage) != program_pid) die("wait4: %s", strerror(errno));
  program_pid = -1;
  close(pidfd);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    die("%s ended with status %d after the %s, not 0", exe,
        WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
        ending == END_ESC ? "Esc key" : "click");
  result.maxrss_kb = usage.ru_maxrss;
  /* The key and button releases were queued after the presses that ended
   * the program; the next launch must not see them. */
  XSync(display, False);
  return result;
}

/* ---- the whole run ---------------------------------------------------- */

int main(int argc, char **argv) {
  const char *probe = NULL, *out_path = NULL, *log_path = NULL;
  int runs = 15, idle_runs = 4, idle_seconds = 10;
  const char *names[2], *paths[2];
  int programs = 0;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    const char *value = i + 1 < argc ? argv[i + 1] : NULL;
    if (!strcmp(arg, "--wine") && value) wine_loader = argv[++i];
    else if (!strcmp(arg, "--probe") && value) probe = argv[++i];
    else if (!strcmp(arg, "--out") && value) out_path = argv[++i];
    else if (!strcmp(arg, "--log") && value) log_path = argv[++i];
    else if (!strcmp(arg, "--runs") && value) runs = atoi(argv[++i]);
    else if (!strcmp(arg, "--idle-runs") && value) idle_runs = atoi(argv[++i]);
    else if (!strcmp(arg, "--idle-seconds") && value) idle_seconds = atoi(argv[++i]);
    else if (!strcmp(arg, "--timeout") && value) timeout_ms = atof(argv[++i]) * 1e3;
    else if (strchr(arg, '=') && programs < 2) {
      char *copy = strdup(arg);
      char *equals = strchr(copy, '=');
      *equals = 0;
      names[programs] = copy;
      paths[programs] = equals + 1;
      ++programs;
    } else {
      die("unknown argument %s (usage: see the top of xbench.c)", arg);
    }
  }
  if (!wine_loader || !probe || !out_path || !log_path || programs != 2 || runs < 1)
    die("missing arguments (usage: see the top of xbench.c)");

  signal(SIGPIPE, SIG_IGN);
  log_fd = open(log_path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (log_fd < 0) die("cannot open %s", log_path);
  FILE *out = fopen(out_path, "w");
  if (!out) die("cannot write %s", out_path);

  display = XOpenDisplay(NULL);
  if (!display) die("cannot open the X display \"%s\"", getenv("DISPLAY") ? getenv("DISPLAY") : "");
  XSetErrorHandler(ignore_x_errors);
  int event_base, error_base, major, minor;
  if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor))
    die("the X server has no XTest extension");
  net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  start_probe(probe);

  /* The first GUI program of a wineserver also starts Wine's desktop
   * process: a launch of each program that is not counted. */
  for (int p = 0; p < 2; ++p) launch_once(paths[p], END_ESC, 0);

  fprintf(out,
          "program\tround\tending\tmapped_ms\tfocused_ms\tready_ms\texit_ms\thwm_kb\trss_kb\t"
          "maxrss_kb\tidle_s\tidle_cpu_ms\tidle_run_ns\tidle_wakeups\tfocus\n");
  int idle_done[2] = {0, 0};
  long ticks_per_second = sysconf(_SC_CLK_TCK);
  for (int round = 0; round < runs; ++round) {
    for (int e = 0; e < 2; ++e) {
      enum ending ending = e == 0 ? END_ESC : END_CLICK;
      for (int k = 0; k < 2; ++k) {
        int p = round % 2 == 0 ? k : 1 - k;
        int idle = idle_done[p] < idle_runs ? idle_seconds : 0;
        if (idle) ++idle_done[p];
        struct launch r = launch_once(paths[p], ending, idle);
        fprintf(out, "%s\t%d\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%lld\t%lld\t%lld\t%d\t%lld\t%lld\t%lld\t%s\n",
                names[p], round + 1, ending == END_ESC ? "esc" : "click", r.mapped_ms,
                r.focused_ms, r.ready_ms, r.exit_ms, r.hwm_kb, r.rss_kb, r.maxrss_kb, idle,
                r.idle.ticks < 0 ? -1 : r.idle.ticks * 1000 / ticks_per_second, r.idle.run_ns,
                r.idle.slices, r.focus_class);
        fflush(out);
        fprintf(stderr, "  round %2d/%d  %-9s %-5s  focused %6.1f ms  ready %6.1f ms  exit %5.1f ms%s\n",
                round + 1, runs, names[p], ending == END_ESC ? "esc" : "click", r.focused_ms,
                r.ready_ms, r.exit_ms, idle ? "  (after the idle interval)" : "");
      }
    }
  }
  fclose(out);
  stop_probe();
  XCloseDisplay(display);
  return 0;
}
