#!/usr/bin/env python3
"""Turns the reliability suite's output (one log per architecture, x86_64 first) into the
Markdown of docs/reliability.md: the figures the tests printed, and each test's verdict."""
import datetime
import os
import platform
import re
import subprocess
import sys

FIGURE = re.compile(r"^\[figure\] (.*?) \| (.*?) \| (.*?) \| (-?\d+)$")
VERDICT = re.compile(r"^\[\s+(OK|FAILED)\s+\] (\S+)")

TITLES = {
    "soak": "Soak: whole lives of each control (made, every slot, messages, paints, destroyed)",
    "storm": "Message storms: seeded random messages and slot calls, invariants checked after each",
    "refusals": "Refused creations: each DC, bitmap, font, region, window, timer and heap block refused in turn",
}


def read(path):
    figures, verdicts = {}, {}
    with open(path, errors="replace") as log:
        for line in log:
            line = line.rstrip("\r\n")
            if m := FIGURE.match(line):
                table, row, column, value = m.groups()
                figures.setdefault(table, {}).setdefault(row, {})[column] = int(value)
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


def table(title, by_arch):
    rows = [row for figures in by_arch.values() for row in figures]
    rows = list(dict.fromkeys(rows))
    columns = list(dict.fromkeys(c for figures in by_arch.values() for row in figures.values() for c in row))
    out = [f"### {title}", "", "| control | architecture | " + " | ".join(columns) + " |",
           "|---|---|" + "---:|" * len(columns)]
    for row in rows:
        for arch, figures in by_arch.items():
            if row in figures:
                values = [f"{figures[row].get(c, ''):,}" if c in figures[row] else "" for c in columns]
                out.append(f"| {row} | {arch} | " + " | ".join(values) + " |")
    return out + [""]


def main(x86_64_log, i686_log):
    logs = {"x86_64": read(x86_64_log), "i686": read(i686_log)}
    lines = ["# Reliability", "",
             "Figures from the reliability suite (`tests/reliability`), written by `tools/reliability.sh`.",
             "The test ledger hooks the DLL's imports: it counts every GDI object, DC, window, timer and",
             "C runtime heap block the library makes and lists those it has not given back.",
             f"Ran {datetime.date.today().isoformat()} on {machine()}.", ""]
    for key, title in TITLES.items():
        by_arch = {arch: figures.get(key, {}) for arch, (figures, _) in logs.items() if figures.get(key)}
        if by_arch:
            lines += table(title, by_arch)
    storms = sum(row.get("messages and calls", 0) for row in logs["x86_64"][0].get("storm", {}).values())
    lines += [f"Storm messages on x86_64 in all: {storms:,}.", "",
              "### Hostile input and other screens", "",
              "The `Hostile` tests give every export and factory every code up to 1023 and the extremes of",
              "32 bits, null pointers wherever the header allows them, every extreme int in every numeric",
              "slot, a 1 MB text and a 1 MB face name; `AnyScreen` makes, drives and destroys every control",
              "of every type code and asks every query at 640 x 480, 800 x 1000, 1100 x 700 and 7680 x 4320",
              "as well (CTest runs `reliability_<screen>`). Spoilt and enormous logo files are in",
              "`tests/host/logo_test.cpp`, refused creations during attach in `tests/unit/attach_test.cpp`.",
              "", "### Verdicts", "",
              "| test | x86_64 | i686 |", "|---|---|---|"]
    names = list(dict.fromkeys(n for _, verdicts in logs.values() for n in verdicts))
    for name in names:
        lines.append(f"| {name} | " + " | ".join(v.get(name, "not run") for _, v in logs.values()) + " |")
    print("\n".join(lines))


if __name__ == "__main__":
    main(*sys.argv[1:3])
