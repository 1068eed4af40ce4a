#!/usr/bin/env python3
"""Turns the rows xbench wrote into the summary bench/run prints and the
Markdown table of bench/results.md.

usage: report.py RESULTS.md ARCH=RUNS.tsv... -- KEY=VALUE...
  ARCH: x86_64 or i686, one runs file for each build that was measured
  keys: command, date, machine, cpu, cores, load, kernel, wine, runs,
        idle_runs, idle_seconds, and size_<program>_<arch> (bytes) for both
        programs and both of i686 and x86-64.
"""
import csv
import statistics
import sys

PROGRAM, REFERENCE = "startwin", "reference"
ARCH_NAMES = {"i686": "i686 (PE32)", "x86_64": "x86-64 (PE32+)"}
LOADERS = {"i686": "/usr/lib/wine/wine", "x86_64": "/usr/lib/wine/wine64"}


def read_runs(tsv):
    with open(tsv, newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    if not rows:
        sys.exit("report.py: no measurements in " + tsv)
    return rows


def main():
    out_path, *args = sys.argv[1:]
    split = args.index("--")
    runs = dict(arg.split("=", 1) for arg in args[:split])
    info = dict(pair.split("=", 1) for pair in args[split + 1:])
    if not runs or any(arch not in ARCH_NAMES for arch in runs):
        sys.exit("report.py: give ARCH=RUNS.tsv for x86_64 and/or i686")
    rows_by_arch = {arch: read_runs(tsv) for arch, tsv in runs.items()}

    idle = lambda r: int(r["idle_s"]) > 0
    ending = lambda kind: (lambda r: r["ending"] == kind)
    measures = [
        # (label, column, filter, unit format)
        ("Start-up: process start → window mapped and focused, ms", "focused_ms", None, "{:.1f}"),
        ("Start-up: process start → window mapped, ms", "mapped_ms", None, "{:.1f}"),
        ("Start-up: process start → idle in its message loop, ms", "ready_ms", None, "{:.1f}"),
        ("Exit after Esc, ms", "exit_ms", ending("esc"), "{:.1f}"),
        ("Exit after a click on the button, ms", "exit_ms", ending("click"), "{:.1f}"),
        ("Peak memory (VmHWM), KiB", "hwm_kb", None, "{:.0f}"),
        (f"CPU time while idle {info['idle_seconds']} s (utime+stime), ms", "idle_cpu_ms", idle, "{:.0f}"),
        (f"CPU time while idle {info['idle_seconds']} s (schedstat), µs", "idle_run_ns", idle, "{:.0f}"),
        (f"Wake-ups while idle {info['idle_seconds']} s", "idle_wakeups", idle, "{:.0f}"),
    ]

    def ratio(a, b):
        if b == 0:
            return "—" if a == 0 else "∞"
        return f"{a / b:.2f}"

    def cell(data, fmt, scale=1.0):
        data = [d * scale for d in data]
        med = statistics.median(data)
        return med, f"{fmt.format(med)} ({fmt.format(min(data))}–{fmt.format(max(data))})"

    table = [
        "| Measure | Build | n | startwin: median (min–max) | reference: median (min–max) | startwin / reference |",
        "|---|---|---:|---:|---:|---:|",
    ]
    for label, column, where, fmt in measures:
        where = where or (lambda r: True)
        scale = 1e-3 if column == "idle_run_ns" else 1.0
        for arch in ("x86_64", "i686"):
            rows = rows_by_arch.get(arch, [])
            a = [float(r[column]) for r in rows if r["program"] == PROGRAM and where(r)]
            b = [float(r[column]) for r in rows if r["program"] == REFERENCE and where(r)]
            if not a or not b:
                continue
            ma, ca = cell(a, fmt, scale)
            mb, cb = cell(b, fmt, scale)
            n = str(len(a)) if len(a) == len(b) else f"{len(a)}/{len(b)}"
            table.append(f"| {label} | {ARCH_NAMES[arch]} | {n} | {ca} | {cb} | {ratio(ma, mb)} |")
    for arch in ("x86_64", "i686"):
        a = int(info[f"size_{PROGRAM}_{arch}"])
        b = int(info[f"size_{REFERENCE}_{arch}"])
        table.append(f"| File size, bytes | {ARCH_NAMES[arch]} | 1 | {a} | {b} | {ratio(a, b)} |")

    header = [
        "# startwin benchmark",
        "",
        f"- Date: {info['date']}",
        f"- Machine: `uname -m` = {info['machine']}, CPU: {info['cpu']} ({info['cores']} cores), "
        f"load average at the start: {info['load']}",
        f"- Kernel: {info['kernel']}",
        f"- Wine: {info['wine']} ("
        + "; ".join(f"{ARCH_NAMES[arch]} builds under `{LOADERS[arch]}`" for arch in runs)
        + "), Xvfb 1920×1080×24, no window manager",
        f"- Command: `{info['command']}` (RUNS={info['runs']}, IDLE_RUNS={info['idle_runs']}, "
        f"IDLE_SECONDS={info['idle_seconds']})",
        "",
    ]
    notes = [
        "",
        "Notes:",
        "",
        "- *reference* is `bench/reference/reference.cpp`: the same borderless 392×384 window and "
        "focused button written the plain way (one window class, `CreateWindowExA`, a BUTTON "
        "child, a `GetMessage`/`TranslateMessage`/`DispatchMessage` loop), started by a plain "
        "`WinMain` through MinGW-w64's usual C run-time start-up code. startwin is linked with "
        "`-nostartfiles` and its own entry point. Both are built with the same compiler and linker "
        "flags (`-Os`, `-fno-exceptions -fno-rtti`, `-ffunction-sections -fdata-sections`, "
        "`-Wl,--gc-sections -s`, static libgcc) and embed the same manifest (common controls v6) "
        "as RT_MANIFEST 1; startwin also carries its icon and version resources, the reference "
        "none.",
        "- Each launch runs the Wine loader of its build (`wine64` or the 32-bit `wine`) with "
        "PROGRAM.exe from a fresh Linux process under one persistent wineserver in a prefix booted "
        "once, with unmanaged X windows. Each build's startwin is measured against the reference "
        "of the same build; the two programs alternate, and the one that goes first swaps every "
        "round; one uncounted launch of each warms the caches first.",
        "- Start-up is timed from just before the spawn to the X MapNotify of the program's "
        "viewable window (WM_CLASS = the exe's name, `_NET_WM_PID` = the child) and to the X "
        "input focus being on it. \"Idle in its message loop\" is when `WaitForInputIdle` on the "
        "program returns, asked by a helper under the same wineserver right after the focus "
        "arrives; the helper also checks that the Win32 focus is on the Button in every launch. "
        "The helper keeps Wine's desktop process alive between launches, as any other running "
        "Windows program would.",
        "- Exit is timed from the XTest key press (Esc) or button press (the pointer having been "
        "moved onto the button just before) to the program's Linux process ending (pidfd); "
        "every launch must end with status 0.",
        "- Peak memory is VmHWM of the program's Wine process, read once the program is idle "
        "(after the idle interval where there is one), just before the exit input.",
        f"- Idle CPU is measured in the first {info['idle_runs']} launches of each program "
        f"over {info['idle_seconds']} s with the window open and the pointer parked off the "
        "window: utime+stime from /proc/PID/stat (10 ms ticks), the on-CPU time summed over the "
        "threads' /proc/PID/task/*/schedstat, and the number of times the threads were scheduled "
        "(wake-ups). The pointer stays off the button because, while it hovers over the themed "
        "button, Wine's mouse-tracking system timer (WM_SYSTIMER) fires every 10 ms in either "
        "program: about 1000 thread wake-ups a second.",
        "- A click ends the reference with `ExitProcess` at once; startwin first runs its "
        "shutdown (destroys its window, unregisters its class), which under Wine costs a few "
        "milliseconds more. Esc makes both destroy the window first.",
        "- A load average near or above the number of cores means other work shared the CPUs "
        "during the run: the spreads widen, the medians and ratios stay comparable since the "
        "programs alternate.",
        "- Ratios are of the medians.",
    ]
    text = "\n".join(header + table + notes) + "\n"
    with open(out_path, "w") as f:
        f.write(text)
    print("\n".join(table))


if __name__ == "__main__":
    main()
