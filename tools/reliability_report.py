#!/usr/bin/env python3
"""Turns the reliability suite's output (one log per architecture, x86_64 first, then the commit
measured) into the Markdown of docs/reliability.md: the figures the tests printed, and each
test's verdict."""
import datetime
import os
import platform
import re
import subprocess
import sys

FIGURE = re.compile(r"^\[figure\] (.*?) \| (.*?) \| (.*?) \| (-?\d+)$")
# A test's name is Suite.Test, with a parameter's name after a slash; a failed parameterised
# test adds ", where GetParam() = ...", and the summary's "[  FAILED  ] 2 tests" names none.
STARTED = re.compile(r"^\[ RUN\s+\] ([^\s,]+\.[^\s,]+)")
VERDICT = re.compile(r"^\[\s+(OK|FAILED)\s+\] ([^\s,]+\.[^\s,]+)")

# Each table: its title, and what its rows are.
TITLES = {
    "soak": ("Soak: whole lives of each control (made, every slot of its own called, messages sent, painted, "
             "destroyed), the ledger read after every cycle", "control"),
    "storm": ("Message storms: seeded random messages, slot calls and host steps, the invariants checked after "
              "every step", "control"),
    "refusals": ("Refused creations: every creation the ledger watches, refused in turn, one run each", "scenario"),
}

# What the storms did, in the order the table shows it.
STORM_STEPS = ("messages sent", "slot calls", "host steps")


def read(path):
    figures, verdicts = {}, {}
    with open(path, errors="replace") as log:
        for line in log:
            line = line.rstrip("\r\n")
            if m := FIGURE.match(line):
                table, row, column, value = m.groups()
                figures.setdefault(table, {}).setdefault(row, {})[column] = int(value)
            elif m := STARTED.match(line):
                # A test that starts and never ends stopped the program: a crash, or the timeout.
                verdicts[m.group(1)] = "no verdict: the program stopped"
            elif m := VERDICT.match(line):
                verdicts[m.group(2)] = m.group(1)
    return figures, verdicts


def machine():
    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "unknown")
    wine = "Wine (version unknown)"
    for loader in ("/usr/lib/wine/wine64", "wine64", "wine"):
        try:
            wine = subprocess.run([loader, "--version"], capture_output=True, text=True).stdout.strip() or wine
            break
        except OSError:
            continue
    return f"{cpu} ({os.cpu_count()} cores); {platform.system()} {platform.release()}; {wine}"


def table(title, rows_are, by_arch):
    rows = [row for figures in by_arch.values() for row in figures]
    rows = list(dict.fromkeys(rows))
    columns = list(dict.fromkeys(c for figures in by_arch.values() for row in figures.values() for c in row))
    out = [f"### {title}", "", f"| {rows_are} | architecture | " + " | ".join(columns) + " |",
           "|---|---|" + "---:|" * len(columns)]
    for row in rows:
        for arch, figures in by_arch.items():
            if row in figures:
                values = [f"{figures[row].get(c, ''):,}" if c in figures[row] else "" for c in columns]
                out.append(f"| {row} | {arch} | " + " | ".join(values) + " |")
    return out + [""]


def main(x86_64_log, i686_log, commit):
    logs = {"x86_64": read(x86_64_log), "i686": read(i686_log)}
    lines = ["# Reliability", "",
             "Figures from the reliability suite (`tests/reliability`), written by `tools/reliability.sh` from the",
             "`[figure]` lines its tests print, on a 1024 x 768 screen. The test ledger (`tests/support/ledger.*`)",
             "hooks the DLL's import table: its calls that make and give back GDI objects, DCs (paint DCs",
             "included), windows, timers, cursors and files, and its C runtime heap calls. It lists what the",
             "DLL made and did not give back, and counts as a fault a release of what the DLL did not make or",
             "a DC given back with one of its objects still selected. A *left* column is that list when the",
             "test's runs are done, printed before the test checks it, so a leak shows its size: objects,",
             "windows and timers by number, heap blocks by their bytes.",
             "",
             "Every reliability test, the refused-creation runs included, and the host-level tests of the three",
             "controls give the DLL the ledger's page heap while the test runs: each block the DLL takes",
             "through `malloc`, `calloc` or `realloc`",
             "(its C++ `new` included) is placed to end exactly where an inaccessible page begins; a freed",
             "block's pages are decommitted, so they are inaccessible too, and their addresses are never handed",
             "out again; `realloc` always moves a block. A read or write past a block's end, or of a freed block",
             "(a control touching itself after the host destroyed it from a callback, say), faults at that",
             "instruction and stops the test program. Blocks the DLL took before the test began (when it was",
             "loaded) stay in the C runtime's heap.", "",
             f"Ran {datetime.date.today().isoformat()} at commit {commit} on {machine()}.", ""]
    for key, (title, rows_are) in TITLES.items():
        by_arch = {arch: figures.get(key, {}) for arch, (figures, _) in logs.items() if figures.get(key)}
        if by_arch:
            lines += table(title, rows_are, by_arch)
        if key == "soak":
            lines += ["Each cycle makes one control with the next type code of a short list that holds one",
                      "unknown code (button 0, 2, 31, 200, 301, 9999; label 0, 3, 5, 6; slip 0, 1, 10, 2), so a",
                      "sixth or a quarter of the cycles make nothing: the factory must then leave nothing either.",
                      "The ledger must be empty after every cycle.", ""]
        elif key == "storm":
            storms = logs["x86_64"][0].get("storm", {}).values()
            totals = [sum(row.get(column, 0) for row in storms) for column in STORM_STEPS]
            lines += ["A step is one of three things, drawn at random: a *message* sent to the control (mouse",
                      "messages inside, outside, at negative and at 16-bit extreme points; `WM_SETCURSOR`; false",
                      "`WM_CAPTURECHANGED`, `WM_SETFOCUS` and `WM_KILLFOCUS`; `WM_TIMER` with any identifier;",
                      "`WM_COMMAND` as the slip's edit box sends it, and from other senders), a *slot call* (one of",
                      "the control's own slots but `Destroy`, `SetHoverCursor` and the label's `Attach` and",
                      "`Create`, with random arguments, extremes among them), or a *host step* (the host takes or",
                      "releases the capture, moves the focus to the control or to itself, or repaints the control).",
                      "In one step in 200 the host destroys the control from inside a notification the control sends",
                      "during that step; the storm then makes a new one. After every step: a control that had a",
                      "`WM_LBUTTONUP` does not hold the capture (unless its edit box is open); a button's frame is",
                      "0 to 2; a slip's value lies in its range once a range whose minimum is not above its maximum,",
                      "then a value, were set; a label's `GetText` gives back what `SetText` gave it. A seed draws",
                      "every argument into a named value, one at a time, so it replays alike under any compiler.",
                      "",
                      f"On x86_64 the storms sent {totals[0]:,} messages, made {totals[1]:,} slot calls and took",
                      f"{totals[2]:,} host steps in all.", ""]
        elif key == "refusals":
            lines += ["A run without refusals counts the creations of each scenario; then each is refused in",
                      "its own run, failing as the system's call would. Nothing may be left and no fault seen,",
                      "and the call refused must have its documented result: a control handed out has its",
                      "window, a control's paint leaves its window as it was or paints it whole, `SetText` says",
                      "when it kept no text, a face reported drawn is whole. The scenarios are the soak's passes:",
                      "button, type codes 0, 1, 11, 13, 19, 31, 200 and 300 (every picture size); label, type",
                      "code 0; slip, type codes 0, 1 and 10; face, `DrawFace` into a memory DC,",
                      "`GetBgkColorSize` and every `GetObjectRect` code up to 31.", ""]
    lines += ["### Hostile input and other screens", "",
              "The `Hostile` tests (`tests/reliability/hostile_test.cpp`):", "",
              "- *Codes*: each factory is given every type code from 0 to 1023 and 0x7FFFFFFF, 0x80000000,",
              "  0xFFFFFFFE and 0xFFFFFFFF, and makes exactly the codes the header lists; `GetObjectRect` is",
              "  asked the same codes, answers exactly its 14 codes, writes nothing for the others, and",
              "  returns 0 for every code when its output pointer is null.",
              "- *Null pointers*: each factory with a null output pointer; `DrawFace(NULL)`;",
              "  `GetBgkColorSize(NULL, NULL)`; a button and a slip with a null parent (no control) and with no",
              "  callback (pressed, released, the slip dragged); a null hover cursor; a label's `Create(NULL)`,",
              "  `Attach(NULL)`, `SetText(NULL)` and `SetFont(NULL, 0)`.",
              "- *Extreme numbers*: INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1 and INT_MAX, in a slip's",
              "  `SetRange` (every pair of them) and under each range its `SetValue`, `SetStartMarker` and",
              "  `SetEndMarker` (the complement), the value read back inside every range whose minimum is not",
              "  above its maximum, the slip painted after all; in a button's `SetState` (its frame stays 0 to 2)",
              "  and `MoveTo`, and a label's `SetTextAngle`, `SetFont` size, `SetFlags` and `SetHighlight`, each",
              "  painted after every value. The colour slots, `ShowValue`, `ClearMarkers`, `SetDot`,",
              "  `SetAutoRepeat` and `SetClickMode` get no extremes there; the storms give the markers,",
              "  `SetValue`, `SetFlags` and `SetTextAngle` random 32-bit values and the colour slots random",
              "  24-bit colours.",
              "- *Size*: a 1 MiB text, read back whole and painted flat and at 45 degrees, and a 1 MiB face name.",
              "- *Memory*: a label refused the heap block for its text says so (`SetText` fails, `GetText` is",
              "  null) and takes a text again after.",
              "",
              "`AnyScreen` tries every type code up to 399 on each factory, drives and destroys each control",
              "made (42 buttons, 6 labels, 3 slips), and draws the face and asks every query. The verdicts below",
              "are of the 1024 x 768 run; CTest also runs `AnyScreen` at 640 x 480, 800 x 1000, 1100 x 700 and",
              "7680 x 4320 (`reliability_<screen>`), which this page does not show. Spoilt and enormous logo",
              "files are in `tests/host/logo_test.cpp`, refused creations during attach in",
              "`tests/unit/attach_test.cpp`.",
              "", "### Verdicts", "",
              "| test | x86_64 | i686 |", "|---|---|---|"]
    names = list(dict.fromkeys(n for _, verdicts in logs.values() for n in verdicts))
    for name in names:
        lines.append(f"| {name} | " + " | ".join(v.get(name, "not run") for _, v in logs.values()) + " |")
    print("\n".join(lines))


if __name__ == "__main__":
    main(*sys.argv[1:4])
