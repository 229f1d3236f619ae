#!/usr/bin/env python3
"""Turns the raw figures that the target "bench" gathered into one Markdown table."""
import json
import os
import platform
import statistics
import sys

out = sys.argv[1]


def medians(name):
    with open(os.path.join(out, name)) as f:
        runs = json.load(f)["benchmarks"]
    return {r["run_name"]: r for r in runs if r.get("aggregate_name") == "median"}


def ns(run):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[run["time_unit"]]
    return run["real_time"] * scale


core = medians("core.json")
form = medians("form1.json")
with open(os.path.join(out, "accuracy.txt")) as f:
    accuracy = {name: (int(got), int(due)) for name, got, due in (line.split() for line in f)}
startup, cpu = {}, {}
with open(os.path.join(out, "screen.txt")) as f:
    for line in f:
        kind, program, *figures = line.split()
        if kind == "startup":
            startup.setdefault(program, []).append([float(x) for x in figures])
        else:
            cpu.setdefault(program, []).append(float(figures[0]))


def median_of(program, column):
    return statistics.median(run[column] for run in startup[program])


programs = ("wattmeter", "bare_window", "text_window")
cpu_meter = statistics.median(cpu["wattmeter"])
cpu_floor = statistics.median(cpu["two_readouts"])
map_ms = [median_of(p, 0) for p in programs]
rss_mib = [median_of(p, 1) / 1024 for p in programs]
cpu_model = "unknown processor"
with open("/proc/cpuinfo") as f:
    for line in f:
        if line.startswith("model name"):
            cpu_model = line.split(":", 1)[1].strip()
            break

rows = [
    ("energyTick on a PanelState", f"{ns(core['energyTickOnPanelState']):.0f} ns/tick",
     "< 500 ns", f"five texts written: {ns(core['fiveTextsSetOnPanelState']):.0f} ns"),
    ("One hour of ticks (36000) on a PanelState",
     f"{ns(core['hourOfTicksOnPanelState']) / 1e6:.2f} ms", "", ""),
    ("energyTick on a shown Form1 (offscreen)", f"{ns(form['energyTickOnForm1']) / 1e3:.2f} us/tick",
     "< 20 us", f"five setText calls: {ns(form['fiveTextsSetOnForm1']) / 1e3:.2f} us"),
    ("energyTick on Form1, repainted", f"{ns(form['energyTickOnForm1Painted']) / 1e3:.1f} us/tick",
     "", ""),
    ("Start-up, exec to window mapped (median of 10)", f"{map_ms[0]:.0f} ms",
     f"< 1.25 x floor ({map_ms[0] / map_ms[2]:.2f} x)",
     f"with one text field: {map_ms[2]:.0f} ms; bare Qt window: {map_ms[1]:.0f} ms"),
    ("Resident memory once idle (median of 10)", f"{rss_mib[0]:.1f} MiB",
     f"< 1.25 x floor ({rss_mib[0] / rss_mib[2]:.2f} x)",
     f"with one text field: {rss_mib[2]:.1f} MiB; bare Qt window: {rss_mib[1]:.1f} MiB"),
    ("CPU while the meter runs (median of 3 x 20 s)", f"{cpu_meter:.2f} % of a core",
     f"< 1.1 x floor ({cpu_meter / cpu_floor:.2f} x)",
     f"two fields rewritten 10 times a second: {cpu_floor:.2f} %"),
    ("Ticks delivered in 10 s", "{} / {}".format(*accuracy["steady"]), "expected +/- 1", ""),
    ("Ticks delivered in 10 s, loop blocked 1 s", "{} / {}".format(*accuracy["stalled"]),
     "expected +/- 1", ""),
]

print(f"Measured on {cpu_model}, {os.cpu_count()} cores, Linux {platform.release()}.\n")
print("| Measure | Figure | Aim | Floor |")
print("|---|---|---|---|")
for row in rows:
    print("| " + " | ".join(row) + " |")
