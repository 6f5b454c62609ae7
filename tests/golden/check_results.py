#!/usr/bin/env python3
"""Checks the pictures (PLOTFIL) and results (JSONFIL) in the expected files
of the golden cases: the JSON against the schema and against the summary,
week-format and arc-split report files of the same run; the SVG as XML and
for its parts.

    check_results.py GOLDEN_DIR SCHEMA
"""
import json
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

import jsonschema

SVG = "{http://www.w3.org/2000/svg}"
failures = []


def check(cond, case, what):
    if not cond:
        failures.append(f"{case}: {what}")
    return cond


def keywords(inp):
    """First values of the input file's keywords, with ${NAME} replaced, and the
    replacement."""
    values, env, lines = {}, {}, open(inp, encoding="latin-1").read().splitlines()
    for i, line in enumerate(lines):
        m = re.match(r'^(\w+)\s+(\d+)\s*(?:"(.*)")?\s*$', line)
        if not m:
            continue
        if m.group(1) == "ENVIRONMENT":
            for entry in lines[i + 1:i + 1 + int(m.group(2))]:
                quoted = re.findall(r'"([^"]*)"', entry)
                if len(quoted) >= 2:
                    env[quoted[0]] = quoted[1]
        values[m.group(1)] = m.group(3) or ""
    subst = lambda v: re.sub(r"\$\{(\w+)\}", lambda g: env.get(g.group(1), g.group(0)), v)
    return {k: subst(v) for k, v in values.items()}, subst


def nint(x):
    return int(math.floor(abs(x) + 0.5)) * (1 if x >= 0 else -1)


def i4s(text):
    """I4 fields, which may run into each other ("141529")."""
    return [int(text[i:i + 4]) for i in range(0, len(text.rstrip()), 4)]


def check_summary(case, results, summary):
    blocks = [b for b in summary.split("\n\n") if b.strip()]
    check(len(blocks) == len(results["protocols"]), case, "one summary block per protocol")
    for p, block in zip(results["protocols"], blocks):
        first, rest = block.splitlines()[0], block.splitlines()[1:]
        groups = {}
        for line in rest:  # values from column 34 on, continued on lines of their own
            head = line[:33].strip()
            key = head if head else key
            groups.setdefault(key, []).extend(i4s(line[33:]))
        doy, ecl_sats, minutes, mm = rest[0], *groups.values()
        base = re.split(r"[/\\]", p["file"])[-1][:15]
        check(first[2:17].strip() == base, case, f"summary name {base}")
        check(int(first[26:29]) == p["satellite_count"], case, f"{base}: satellite count")
        check(int(first[45:47]) == p["eclipsing_count"], case, f"{base}: eclipsing count")
        largest = p["largest_rms"] or {"rms_m": 0.0, "number": 0}  # none read: entry 1 left empty
        check(first[59:65] == f"{largest['rms_m']:6.3f}", case, f"{base}: largest RMS")
        check(int(first[75:78]) == largest["number"], case, f"{base}: its satellite")
        check(p["day_of_year"] is None or int(doy[8:11]) == p["day_of_year"]["middle"], case,
              f"{base}: day of year")
        check((p["largest_rms"] is None) == (p["satellites_read"] == 0), case,
              f"{base}: no largest RMS exactly when none was read")
        ecl = p["eclipsing"]
        check(ecl_sats == [e["number"] for e in ecl], case, f"{base}: eclipsing satellites")
        check(minutes == [e["longest_shadow_s"] // 60 for e in ecl], case, f"{base}: shadow minutes")
        check(mm == [e["rms_mm"] or 0 for e in ecl], case, f"{base}: eclipse RMS")


def check_week(case, results, week):
    lines = []  # a line of 100 values is continued on lines that begin with 4 blanks
    for line in week.splitlines():
        if line.startswith("    ") and lines:
            lines[-1] += line[4:]
        else:
            lines.append(line)
    check(len(lines) == len(results["protocols"]), case, "one week line per protocol")
    for p, line in zip(results["protocols"], lines):
        check(p["day_of_year"] is None or int(line[:4]) == p["day_of_year"]["middle"], case,
              "week line: day")
        rest = [0] * (p["satellite_count"] - p["satellites_read"])  # a table that ended early
        check(i4s(line[4:]) == [nint(s["rms_m"] * 100) for s in p["satellites"]] + rest, case,
              "week line: RMS in cm")


def check_report(case, results, report):
    split = results["arc_split"]
    rule = results["options"]["edit_rule"]
    lines = report.splitlines()
    levels = "".join(f" {s['letter']}{s['statistic_rms_m']:6.3f}/{s['editing_level_m']:6.3f} "
                     if s["statistic_rms_m"] is not None else f" {s['letter']} not edited "
                     for s in split["systems"])
    head = {"MEAN": "Mean RMS and editing level:",
            "MEDIAN": "Median RMS and editing level (EDIT_RULE MEDIAN):"}[rule]
    check(lines[1].rstrip() == (head + levels).rstrip(), case, "report: levels")
    sats = results["protocols"][0]["satellites"]
    complete = results["protocols"][0]["satellites_read"] == results["protocols"][0]["satellite_count"]
    for s in split["systems"]:
        if complete:
            check(s["satellite_count"] == sum(x["system"] == s["letter"] for x in sats), case,
                  f"satellite count of {s['system']}")
        warned = any(m["lines"][0].startswith(" ### PG FITCHK: ") and s["system"] in m["lines"][0].split()
                     for m in results["messages"])
        check(warned == (s["satellite_count"] > 0 and not s["editable"]), case,
              f"warning for {s['system']} when it cannot be edited")
        check(s["statistic"] == rule.lower(), case, f"report: statistic of {s['system']}")
        check(s["mean_rms_m"] == (s["statistic_rms_m"] if rule == "MEAN" else None), case,
              f"report: mean of {s['system']} with the mean rule only")
    date = split["split_epoch"]["iso"][:10]
    if lines[2].startswith("No arc-split record for"):  # no place in the problem file
        unrecorded = [c for c in split["candidates"] if c not in split["already_split"]]
        check(not split["split"] and split["records_written"] == 0 and unrecorded, case,
              "report: records claimed by the results")
        check(lines[2].startswith(f"No arc-split record for{len(unrecorded):3d} sat. on {date}: "
                                  "no place in "), case, "report: count and day")
        check(i4s(lines[4][11:]) == unrecorded, case, "report: sats")
        return
    check(lines[2].startswith(f"Arc splitting for{len(split['split']):3d} sat. on {date}"), case,
          "report: count and day")
    if split["split"]:
        check(i4s(lines[4][11:]) == [s["number"] for s in split["split"]], case, "report: sats")
        check(i4s(lines[5][11:]) == [nint(s["rms_m"] * 1000) for s in split["split"]], case,
              "report: RMS")


def check_names(case, results, subst):
    """Every name as opened: the name as given, variables replaced, in the run's folder."""
    opened = lambda given: "/WORK/" + os.path.normpath(subst(given)).lstrip("/")
    pairs = [(results["input_file"], results["input_file_opened"])]
    pairs += [(p["file"], p["file_opened"]) for p in results["protocols"]]
    split = results["arc_split"]
    if split:
        pairs.append((split["report_file"], split["report_file_opened"]))
        if split["satellite_problem_file"] is not None:
            pairs.append((split["satellite_problem_file"], split["satellite_problem_file_opened"]))
    for given, name in pairs:
        check(name == opened(given), case, f"{given} opened as {name}")


def check_satellites(case, results):
    split = results["arc_split"]
    for p in results["protocols"]:
        sats = p["satellites"]
        check(p["satellites_read"] == len(sats) <= p["satellite_count"], case, "satellites read")
        flagged = [s for s in sats if "candidate" in s]
        check(len(flagged) == (len(sats) if split else 0), case, "flags in the arc-split case only")
        if split:
            wants = {"candidate": split["candidates"], "already_split": split["already_split"],
                     "split": [s["number"] for s in split["split"]]}
            for flag, want in wants.items():
                check({s["number"] for s in sats if s[flag]} == set(want), case, f"flag {flag}")


def check_messages(case, results, status, log):
    check(results["exit_status"] == status == (0 if results["return_code"] in (0, 1) else 1), case,
          "exit status")
    for m in results["messages"]:
        head = m["lines"][0]
        severity = {" *** ": "error", " ### ": "warning"}.get(head[:5])
        check(m["severity"] == severity, case, f"severity: {head}")
        routine = re.escape(m["routine"] or "?")
        check(re.match(r" (\*\*\*|###) [A-Z]{2} " + routine + ":", head), case, f"routine: {head}")
        check("\n".join(m["lines"]) in log, case, f"message as written: {head}")


def check_json(case, path, schema, files, subst, status, log):
    results = json.load(open(path, encoding="utf-8"))
    try:
        jsonschema.validate(results, schema)
    except jsonschema.ValidationError as e:
        check(False, case, f"schema: {e.message} at {list(e.absolute_path)}")
        return None
    if os.path.isfile(files.get("OUTFIL", "")):
        check_summary(case, results, open(files["OUTFIL"], encoding="latin-1").read())
    if files.get("WEEKFM"):
        check_week(case, results, open(files["WEEKFM"], encoding="latin-1").read())
    if results["arc_split"]:
        check_report(case, results, open(files["ASPLIT"], encoding="latin-1").read())
    check_names(case, results, subst)
    check_satellites(case, results)
    check_messages(case, results, status, log)
    tol = results["tolerance_check"]
    exceeded = any("MAXIMALLY TOLERATED ORBIT FITTING RMS EXCEEDED" in line
                   for message in results["messages"] for line in message["lines"])
    check((tol is not None and tol["exceeded"]) == exceeded, case, "tolerance message and result")
    verdict, rc = results["verdict"], results["return_code"]
    check((rc == 0) == (verdict not in ("error", "tolerance_exceeded") and
                        not (verdict == "no_check" and (tol is None or tol["tolerance_m"] > 0))),
          case, "return code and verdict: no check with return code 0 only for TOL_RMS 0")
    if tol is not None:
        check((tol["largest_rms_m"] is None) == (not results["protocols"] or
                                                 results["protocols"][-1]["largest_rms"] is None),
              case, "tolerance check: no largest RMS exactly when the last protocol gave none")
    return results


def elements(root, tag, cls=None):
    found = root.iter(SVG + tag)
    return [e for e in found if cls is None or cls in e.get("class", "").split()]


def check_svg(case, path, results):
    root = ET.parse(path).getroot()
    check(root.tag == SVG + "svg" and float(root.get("width")) >= 760, case, "svg root and width")
    check(not elements(root, "script") and not elements(root, "image"), case, "self-contained")
    check(all(not v.startswith(("http", "//")) for e in root.iter() for k, v in e.attrib.items()
              if k.endswith("href")), case, "no external reference")
    texts = ["".join(t.itertext()) for t in elements(root, "text")]
    check_labels_inside(case, root)
    if results:
        check(results["verdict_text"] in texts, case, "verdict in the heading")
    ps = results["protocols"] if results else []
    if len(ps) == 1:
        check_bars(case, root, texts, results)
    elif len(ps) > 1:
        check_heatmap(case, root, results)


def check_labels_inside(case, root):
    """Every text lies within the picture, turned ones too (widths estimated)."""
    style = "".join(e.text or "" for e in elements(root, "style"))
    size = {}
    for names, px in re.findall(r"((?:\.[\w-]+,?)+)\{[^}]*font-size:(\d+)px", style):
        for name in re.findall(r"[\w-]+", names):
            size[name] = int(px)
    width, height = float(root.get("width")), float(root.get("height"))
    for t in elements(root, "text"):
        if t.get("class") == "run-date":  # masked by the runner
            continue
        classes, content = t.get("class", "").split(), "".join(t.itertext())
        pt = max([size.get(c, 0) for c in classes] + [0])
        w, x, y = 0.55 * pt * len(content), float(t.get("x")), float(t.get("y"))
        anchor = t.get("text-anchor")
        if t.get("transform"):  # turned a quarter to the left: it runs upwards from (x, y)
            if not check(re.match(r"rotate\(-90(\.0)? ", t.get("transform")), case, f"turned: {content!r}"):
                continue
            low = {"end": y, "middle": y - w / 2}.get(anchor, y - w)
            inside = x - pt >= 0 and x <= width and low >= 0 and low + w <= height
        else:
            left = {"end": x - w, "middle": x - w / 2}.get(anchor, x)
            inside = left >= 0 and left + w <= width and y - pt >= 0 and y <= height
        check(inside, case, f"label inside the picture: {content!r}")


def check_bars(case, root, texts, results):
    sats = results["protocols"][0]["satellites"]
    systems = sorted({s["system"] for s in sats if s["system"]})
    check(len(elements(root, "text", "panel-title")) == len(systems), case, "a panel per system")
    bars = [r for r in elements(root, "rect") if r.get("class", "").startswith("bar")
            and r.find(SVG + "title") is not None]
    check(len(bars) == len(sats), case, "a bar per satellite, each with its tooltip")
    split = results["arc_split"]
    if split:
        check(len([b for b in bars if b.get("class") == "bar-split"]) == len(split["split"]), case,
              "split bars")
        check(len([t for t in texts if t == "*"]) == len(split["split"]), case, "stars")
        titles = ["".join(t.itertext()) for t in elements(root, "text", "panel-title")]
        edited = []
        for s in split["systems"]:
            count = sum(x["system"] == s["letter"] for x in sats)
            marked = any(t.startswith(f"{s['system']}: ") and ("not edited" in t or "cannot be edited" in t)
                         for t in titles)
            check(marked == (count > 0 and not s["editable"]), case,
                  f"panel of {s['system']} marked when it cannot be edited")
            if count and s["editing_level_m"] is not None:
                edited.append(s)
                level = f"editing level {s['editing_level_m'] * 1000:.1f} mm"
                check(any(t.startswith(level) for t in texts), case, f"line label {level}")
                stat = f"{s['statistic']} RMS {s['statistic_rms_m'] * 1000:.1f} mm"
                check(any(t.startswith(stat) for t in texts), case, f"statistic label {stat}")
        check(len(elements(root, "line", "level")) == len(edited) + 1, case,
              "a level line per edited panel (and in the legend)")
        check_near_bars(case, bars, results)


def check_near_bars(case, bars, results):
    """The satellites of an edited system at or above its lower limit that
    were not split (nor split already) are marked, and no other."""
    limit = {o["letter"]: o["lower_limit_m"] for o in results["options"]["systems"]}
    level = {s["letter"]: s["editing_level_m"] for s in results["arc_split"]["systems"]}
    want = {s["number"] for s in results["protocols"][0]["satellites"]
            if level.get(s["system"]) and s["rms_m"] >= limit[s["system"]]
            and (limit[s["system"]] > 0 or s["rms_m"] >= level[s["system"]])
            and not s["split"] and not s["already_split"]}
    found = {int(b.find(SVG + "title").text.split()[0]) for b in bars if b.get("class") == "bar-near"}
    check(found == want, case, f"bars at or above the lower limit, not split: {sorted(found)}")


def median(values):
    v, mid = sorted(values), len(values) // 2
    return v[mid] if len(v) % 2 else (v[mid - 1] + v[mid]) / 2


def rms_class(rms, typical):
    """Colour class of an RMS against its system's median: 0-6, 2 around it."""
    if typical <= 0:
        return 6 if rms > 0 else 2
    return sum(not rms / typical < top for top in (0.5, 0.67, 1.5, 2.0, 3.0, 5.0))


def system_of(number):
    return "GRESCJ"[number // 100] if 0 <= number < 600 else "other"


def check_heatmap(case, root, results):
    """A cell per protocol (column) and satellite (row), its colour the RMS
    against the median of its system in that protocol; the marks in the
    cells they belong to; the labels on both sides."""
    ps, tol = results["protocols"], results["tolerance_check"]
    tol = tol["tolerance_m"] if tol and tol["checked"] else None
    sats = sorted({s["number"] for p in ps for s in p["satellites"]})
    cells = [r for r in elements(root, "rect") if re.fullmatch(r"q\d|absent", r.get("class", ""))
             and r.find(SVG + "title") is not None]
    xs = sorted({float(c.get("x")) for c in cells})
    ys = sorted({float(c.get("y")) for c in cells})
    if not check(len(cells) == len(ps) * len(sats) and len(xs) == len(ps) and len(ys) == len(sats),
                 case, "a cell per protocol and satellite"):
        return
    grid = {(xs.index(float(c.get("x"))), ys.index(float(c.get("y")))): c for c in cells}
    height = float(cells[0].get("height"))
    want = {"over": set(), "mark-ecl": set()}
    for col, p in enumerate(ps):
        shown = {}
        for s in p["satellites"]:
            shown[s["number"]] = max(shown.get(s["number"], s["rms_m"]), s["rms_m"])
        typical = {}
        for n, rms in shown.items():
            typical.setdefault(system_of(n), []).append(rms)
        typical = {k: median(v) for k, v in typical.items()}
        ecl = {e["number"] for e in p["eclipsing"]}
        largest = [grid[col, sats.index(n)] for n in shown]
        largest = [c for c in largest if "largest RMS of the protocol" in c.find(SVG + "title").text]
        check(len(largest) == (1 if shown else 0), case, f"{p['file']}: its largest RMS named once")
        for row, n in enumerate(sats):
            cell, cls = grid[col, row], "absent"
            if n in shown:
                cls = f"q{rms_class(shown[n], typical[system_of(n)])}"
                if tol is not None and shown[n] > tol:
                    want["over"].add((col, row))
                if n in ecl:
                    want["mark-ecl"].add((col, row))
            check(cell.get("class") == cls and f": {n} (" in cell.find(SVG + "title").text, case,
                  f"{p['file']}: cell of {n} is {cls}")
        if largest:
            check(shown[int(re.search(r": (-?\d+) \(", largest[0].find(SVG + "title").text)[1])]
                  == max(shown.values()), case, f"{p['file']}: the largest RMS")

    def where(x, y):  # the cell at (x, y); None outside the grid
        for at, c in grid.items():
            cx, cy = float(c.get("x")), float(c.get("y"))
            if cx <= x <= cx + float(c.get("width")) and cy <= y <= cy + height:
                return at
        return None

    marks = {"over": [where(float(t.get("x")), float(t.get("y")) - 3) for t in elements(root, "text", "over")],
             "mark-ecl": [where(float(r.get("x")), float(r.get("y"))) for r in elements(root, "rect", "mark-ecl")]}
    for cls, found in marks.items():
        inside = [m for m in found if m is not None]
        check(sorted(inside) == sorted(want[cls]), case, f"{cls} marks in their cells")
        check(len(found) - len(inside) == (1 if cls == "mark-ecl" or tol is not None else 0), case,
              f"{cls} in the legend")
    check_grid_labels(case, root, ps, sats, xs, ys, height)


def check_grid_labels(case, root, ps, sats, xs, ys, height):
    """Each satellite's number left and right of its row, each protocol's
    name over and under its column."""
    labels = elements(root, "text", "hm-label")
    rows = [t for t in labels if not t.get("transform")]
    for row, n in enumerate(sats):
        at = sorted(float(t.get("x")) for t in rows
                    if "".join(t.itertext()) == str(n) and ys[row] < float(t.get("y")) <= ys[row] + height)
        check(len(at) == 2 and at[0] < xs[0] and at[1] > xs[-1], case, f"labels of {n} on both sides")
    turned = [t for t in labels if t.get("transform")]
    for col, p in enumerate(ps):
        right = xs[col + 1] if col + 1 < len(xs) else math.inf
        names = [t for t in turned if xs[col] < float(t.get("x")) < right]
        at = sorted(float(t.get("y")) for t in names)
        check(len(names) == 2 and at[0] < ys[0] and at[1] > ys[-1], case,
              f"{p['file']}: its name over and under its column")
        base = re.split(r"[/\\]", p["file"])[-1]
        day = p["day_of_year"]["middle"] if p["day_of_year"] else "---"
        check(all("".join(t.itertext()).startswith(f"{day}  {base[:21]}")
                  for t in names), case, f"{p['file']}: the column's name")


def main():
    golden, schema_path = sys.argv[1], sys.argv[2]
    schema = json.load(open(schema_path))
    jsonschema.Draft202012Validator.check_schema(schema)
    checked = 0
    for case in sorted(os.listdir(golden)):
        expected = os.path.join(golden, case, "expected")
        inp = os.path.join(expected, "FITCHK.INP")
        args = os.path.join(golden, case, "args")
        if os.path.isfile(args) and open(args).readline().strip() == "--check":
            continue  # a check writes neither
        if not os.path.isfile(inp) or not re.search(r"^(PLOT|JSON)FIL ", open(inp, encoding="latin-1").read(), re.M):
            continue
        keys, subst = keywords(inp)
        files = {k: os.path.join(expected, v) for k, v in keys.items() if v}
        results = None
        if "JSONFIL" in files and check(os.path.isfile(files["JSONFIL"]), case, "results written"):
            status = int(open(os.path.join(expected, ".status")).read())
            logs = [os.path.join(expected, ".console"), files.get("SYSOUT", ""), files.get("SYSERR", "")]
            log = "".join(open(f, encoding="latin-1").read() for f in logs if os.path.isfile(f))
            results = check_json(case, files["JSONFIL"], schema, files, subst, status,
                                 "\n".join(line.rstrip() for line in log.splitlines()))
            checked += 1
        if "PLOTFIL" in files and check(os.path.isfile(files["PLOTFIL"]), case, "picture written"):
            check_svg(case, files["PLOTFIL"], results)
            checked += 1
    check(checked >= 8, "all", f"pictures and results checked: {checked}")
    for f in failures:
        print("FAIL", f)
    print(f"results: {checked - len(failures)} passed, {len(failures)} failed"
          if failures else f"results: {checked} passed, 0 failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
