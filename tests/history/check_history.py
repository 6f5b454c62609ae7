#!/usr/bin/env python3
"""Checks what fitchk --history wrote against the results files it read,
computed here on its own: the table's rows and values, and the picture
(well-formed, every label inside it, the findings of standard output in
it, the columns the span asks for, its size).

    check_history.py REPORT RESULTS_DIR [--csv FILE] [--svg FILE] [--columns WORD] [--max-bytes N]
"""
import argparse
import csv
import datetime
import json
import math
import os
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "golden"))
import check_results  # noqa: E402  (the checks of the run's own picture)

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


def expected_rows(folder):
    """(date, satellite) -> (rms, split, eclipsing, protocol) of the protocol that
    counts for each day: of a run that did not fail, the later run of a day."""
    best = {}
    for name in sorted(os.listdir(folder)):
        if not name.lower().endswith(".json") or name.startswith("."):
            continue
        try:
            r = json.load(open(os.path.join(folder, name)))
        except ValueError:
            continue
        if not isinstance(r, dict) or r.get("program") != "FITCHK" or r.get("verdict") == "error":
            continue
        when = datetime.datetime.fromisoformat(r["run_start"])
        for order, p in enumerate(r["protocols"]):
            w = p["arc_window"]["rounded"]
            middle = (w["start"]["mjd"] + w["end"]["mjd"]) / 2
            day = math.floor(middle)
            key = (when, name, order)
            if day not in best or key > best[day][0]:
                best[day] = (key, p, middle)
    rows = {}
    for day, (_, p, middle) in best.items():
        date = (datetime.date(1858, 11, 17) + datetime.timedelta(days=day)).isoformat()
        ecl = {e["number"] for e in p["eclipsing"]}
        for s in p["satellites"]:
            if s["rms_m"] is None:
                continue
            old = rows.get((date, s["number"]))
            if old and old[0] >= s["rms_m"]:
                continue
            rows[(date, s["number"])] = (s["rms_m"], int(s.get("split", False)), int(s["number"] in ecl),
                                         p["file"], middle)
    return rows


def check_table(path, folder):
    with open(path, newline="") as f:
        lines = list(csv.reader(f))
    check(lines[0] == "date,mjd,protocol,satellite,system,rms_m,split,eclipsing".split(","), "table header")
    got = {}
    for row in lines[1:]:
        date, mjd, protocol, sat, system, rms, split, ecl = row
        got[(date, int(sat))] = (float(rms), int(split), int(ecl), protocol, float(mjd))
        check(system == "GRESCJ"[int(sat) // 100] if 0 <= int(sat) < 600 else system == "", f"system of {row}")
    want = expected_rows(folder)
    check(len(lines) - 1 == len(got), "one row per day and satellite")
    check(got == want, f"table rows against the results: {len(got)} rows, {len(want)} expected; "
          f"first difference {next((k for k in sorted(set(got) | set(want)) if got.get(k) != want.get(k)), None)}")


def check_picture(path, report, columns, max_bytes):
    check(os.path.getsize(path) < max_bytes, f"picture below {max_bytes} bytes: {os.path.getsize(path)}")
    root = ET.parse(path).getroot()
    check(root.tag == check_results.SVG + "svg", "svg root")
    check(not check_results.elements(root, "script") and not check_results.elements(root, "image"),
          "self-contained")
    check_results.check_labels_inside("history", root)
    texts = ["".join(t.itertext()) for t in check_results.elements(root, "text")]
    panel = " ".join("".join(t.itertext()) for t in check_results.elements(root, "text", "finding"))
    kinds = ("outlier:", "rise:", "appears:", "disappears:", "no results:", "run error:")
    for line in report.splitlines():
        if line.startswith(kinds):
            check(line in panel, f"finding in the picture: {line}")
    check(any(t.startswith(columns) for t in texts), f"the axis says {columns!r}")
    for cls in ("q2", "nodata", "absent"):
        check(any(cls in e.get("class", "").split() for e in root.iter()) or cls != "q2", f"cells of {cls}")
    check(len(check_results.elements(root, "path", "median")) >= 1, "median lines")


def main():
    a = argparse.ArgumentParser()
    a.add_argument("report")
    a.add_argument("results")
    a.add_argument("--csv")
    a.add_argument("--svg")
    a.add_argument("--columns", default="one column per day")
    a.add_argument("--max-bytes", type=int, default=5_000_000)
    args = a.parse_args()
    report = open(args.report).read()
    if args.csv:
        check_table(args.csv, args.results)
    if args.svg:
        check_picture(args.svg, report, args.columns, args.max_bytes)
    failures.extend(check_results.failures)
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
