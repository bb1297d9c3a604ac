#!/usr/bin/env python3
"""Reads the raw outputs of scripts/bench and writes the summary table.

Usage: bench_table.py RAW_DIR RUNS MACHINE WRITE PERFORMANCE_MD

Each row: the measure, its figure (median over the runs), the target, the
reference measured in the same run, and the ratio of the figure to the
reference. The table replaces the text between the summary markers of the
file (or goes before its first section), so the detailed sections stay.
"""
import glob
import json
import os
import re
import statistics
import sys

raw, runs, machine, write, doc = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4] == "1", sys.argv[5]
rows = []
missing = []


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def fmt(value, unit):
    if value is None:
        return "—"
    if abs(value) >= 100:
        text = f"{value:.0f}"
    elif abs(value) >= 10:
        text = f"{value:.1f}"
    elif abs(value) >= 1:
        text = f"{value:.2f}"
    else:
        text = f"{value:.3g}"
    return f"{text} {unit}".strip()


def row(measure, figure, unit, target, target_text, reference=None, reference_label="", higher_is_worse=True):
    if figure is None:
        missing.append(measure)
        return
    ratio = f"{figure / reference:.2f}" if reference else "—"
    ref = f"{reference_label} {fmt(reference, unit)}" if reference else (reference_label or "—")
    met = "—"
    if target is not None:
        met = "yes" if (figure <= target if higher_is_worse else figure >= target) else "**no**"
    rows.append((measure, fmt(figure, unit), target_text, ref.strip(), ratio, met))


def gbench(name):
    path = os.path.join(raw, name + ".json")
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        text = f.read()
    try:
        data = json.loads(text[text.index("{"):])
    except ValueError:
        return {}
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}  # to µs
    out = {}
    for b in data.get("benchmarks", []):
        if b.get("aggregate_name", "median") != "median" and b.get("run_type") == "aggregate":
            continue
        s = scale[b.get("time_unit", "ns")]
        out[b.get("run_name", b["name"])] = (b["cpu_time"] * s, b["real_time"] * s)
    return out


def texts(name):
    return [open(p, errors="replace").read() for p in sorted(glob.glob(os.path.join(raw, name + ".*.txt")))]


def reported(name, label):
    """Medians of a 'label VALUE UNIT target ...' line over the runs."""
    pattern = re.compile(r"^" + re.escape(label) + r"\s+([0-9.]+)\s*\S*\s+target", re.M)
    return median([float(m.group(1)) for t in texts(name) for m in pattern.finditer(t)][:runs * 3])


def captured(name, pattern, group=1):
    values = []
    for t in texts(name):
        m = re.search(pattern, t, re.M)
        if m:
            values.append(float(m.group(group)))
    return median(values)


# vervia engine: every kind of verb; per tense, its slowest verb.
engine = gbench("vervia_engine")
naive = engine.get("Naive/volver", (None,))[0]
for key, label in [("table_volver", "table verb (volver)"), ("regular_hablar", "regular (hablar)"),
                   ("spelled_buscar", "spelled regular (buscar)"), ("further_despertar", "further irregular (despertar)"),
                   ("compound_descomponer", "compound (descomponer)"), ("family_aducir", "family -ducir (aducir)"),
                   ("reflexive_levantarse", "reflexive (levantarse)"),
                   ("reflexive_compound_componerse", "reflexive compound (componerse)")]:
    value = engine.get("Evaluate/" + key, (None,))[0]
    row(f"vervia evaluation, {label}, CPU", value, "µs", 5, "≤ 5 µs", naive, "per-form path, volver:")
for tense in range(15, 26):
    values = [v[0] for k, v in engine.items() if k.startswith("EvaluateTense/") and k.endswith(f"/{tense}")]
    if values:
        row(f"vervia evaluation, tense {tense}, slowest of 3 verbs, CPU", max(values), "µs", 5, "≤ 5 µs",
            naive, "per-form path, volver:")

# vervia window.
for test, label, target in [("textChangeIrregular", "one change, table verb", 1),
                            ("textChangeRegular", "one change, regular verb", 1),
                            ("twoKeystrokes", "two keystrokes", 2)]:
    value = captured("vervia_ui", r"RESULT : BenchMainForm::" + test + r"\(\):\s*\n\s*([0-9.]+) msecs")
    row(f"vervia window, {label}", value, "ms", target, f"≤ {target} ms")

# Start-up and resident memory against the empty Qt window.
def startup(name):
    path = os.path.join(raw, f"startup_{name}.txt")
    if not os.path.exists(path):
        return None
    return median([float(l.split()[1]) for l in open(path) if l.startswith("startup_seconds")])


def rss(name):
    path = os.path.join(raw, f"rss_{name}.txt")
    if not os.path.exists(path):
        return None
    return median([int(l.split()[1]) / 1024 for l in open(path) if l.startswith("VmRSS")])


for program in ("vervia", "telvora"):
    row(f"{program}: process start to first painted window", startup(program), "s", 0.5, "≤ 0.5 s",
        startup("empty_window"), "empty Qt window:")
for program in ("vervia", "telvora"):
    row(f"{program}: resident memory at idle (window open, 5 s)", rss(program), "MiB", 100, "≤ 100 MiB",
        rss("empty_window"), "empty Qt window:")

# Message codec.
pdu = gbench("pdu")
for key, label in [("gsm7_160", "160 characters, 7-bit"), ("ucs2_70", "70 characters, UCS2"),
                   ("concatenated_part_ucs2", "a part of a long message, UCS2 with header")]:
    row(f"decode a received PDU, {label}, CPU", pdu.get("Decode/" + key, (None,))[0], "µs", 2, "≤ 2 µs",
        pdu.get("HexOnly/reference_" + key, (None,))[0], "hex to octets only:")
decode160 = pdu.get("Decode/gsm7_160", (None,))[0]
for key, label in [("gsm7_160", "160 characters, 7-bit, 1 part"), ("ucs2_70", "70 characters, UCS2, 1 part"),
                   ("concatenated_ucs2_200", "200 characters, UCS2, 3 parts")]:
    row(f"encode a text into SUBMIT PDUs, {label}, CPU", pdu.get("Encode/" + key, (None,))[0], "µs", 1000,
        "≤ 1 ms (a keystroke)", decode160, "decode of 160 characters:")

# Link.
row("CheckLink against a phone answering in 5 ms, per check", reported("link", "CheckLink per check"), "ms", 20,
    "≤ 20 ms", 5.0, "the phone's latency:")
row("CPU while waiting 10 s for a silent phone", reported("link", "CPU during a 10 s silent wait"), "s", 0.1,
    "≤ 0.1 s")

# Transfers at 9600 baud against their line time.
download = captured("sms", r"Download of \d+ messages at 9600 baud: ([0-9.]+) s")
line = captured("sms", r"line time \(written \+ read\) / 960: ([0-9.]+) s")
row("49-message download at 9600 baud", download, "s", line * 1.05 if line else None, "≤ 1.05 × line time", line,
    "line time:")
row("CPU share of the process during the download", reported("sms", "CPU share during the download"), "", 0.05,
    "≤ 0.05")
read = captured("phonebook", r"read 1: ([0-9.]+) s for")
raw_read = captured("phonebook", r"read: the same \d+ commands raw: ([0-9.]+) s")
row("250-entry phone-book read (UCS2 names) at 9600 baud", read, "s", raw_read * 1.05 if raw_read else None,
    "≤ 1.05 × line time", raw_read, "the same AT commands raw:")
upload = captured("phonebook", r"upload: ([0-9.]+) s for")
raw_upload = captured("phonebook", r"upload: .* the same commands raw: ([0-9.]+) s")
row("250-entry phone-book upload (UCS2 names) at 9600 baud", upload, "s",
    raw_upload * 1.05 if raw_upload else None, "≤ 1.05 × line time", raw_upload, "the same AT commands raw:")
row("10,000-entry .tpb loaded and sorted, wall", reported("phonebook", "10,000-entry file loaded and sorted, wall"),
    "ms", 50, "≤ 50 ms")
row("10,000-entry .tpb into the window's list, wall",
    reported("phonebook", "10,000-entry file into the window's list, wall"), "ms", 50, "≤ 50 ms")

# The window's event loop during polls and a download, against the same probe on the idle window.
pauses = captured("signal_poll", r"the design's fixed pauses: ([0-9.]+) ms per tick")
idle = captured("signal_poll", r"idle window, longest stall of the probe: ([0-9.]+) ms")
row("window blocked by one signal poll, longest of 200", reported("signal_poll", "longest block of the window per tick"),
    "ms", 30, "≤ 30 ms", idle, "idle window, same probe:")
row("window blocked by one signal poll, median", reported("signal_poll", "median"), "ms", 30, "≤ 30 ms", pauses,
    "fixed pauses of the design:")
row("window's longest event-loop stall during the 49-message download",
    reported("download_stall", "longest stall of the window during the download"), "ms", 30, "≤ 30 ms",
    captured("download_stall", r"idle window, longest stall of the probe over \d+ s: ([0-9.]+) ms"),
    "idle window, same probe:")

# Command-line programs: launch to exit against the smallest Qt command-line program.
def launch(name):
    path = os.path.join(raw, f"launch_{name}.txt")
    if not os.path.exists(path):
        return None
    return median([float(l.split()[1]) * 1000 for l in open(path) if l.startswith("launch_seconds")])


row("empty Qt command-line program: launch to exit", launch("empty_command"), "ms", None, "—", launch("true"),
    "/bin/true:")
for name, label in [("vervia_cli_help", "vervia-cli --help"), ("vervia_cli_conjugate", "vervia-cli conjugate tener"),
                    ("telvora_cli_help", "telvora-cli --help"),
                    ("telvora_cli_check", "telvora-cli --device demo check (link check)")]:
    row(f"{label}: launch to exit", launch(name), "ms", 500, "≤ 0.5 s", launch("empty_command"),
        "empty Qt command-line program:")

# Archive at 100,000 messages: wall time against the table scan.
archive = gbench("archive")
scan = archive.get("BM_ReferenceTableScan", (None, None))[1]
for key, label in [("BM_Open", "open"), ("BM_OpenSearchRareIndexed", "open + search a rare word"),
                   ("BM_OpenSearchRareFolded", "open + search without the full-text index"),
                   ("BM_OpenSearchCommonFirst1000", "open + search a common word, newest 1,000"),
                   ("BM_OpenNewest1000", "open + newest 1,000"), ("BM_OpenConversation", "open + one conversation"),
                   ("BM_Contacts", "open + contact list")]:
    value = archive.get(key, (None, None))[1]
    row(f"archive of 100,000 messages: {label}, wall", value / 1000 if value else None, "ms", 100, "≤ 100 ms",
        scan / 1000 if scan else None, "table scan:")

table = ["| Measure | Figure | Target | Reference (same run) | Figure / reference | Target met |",
         "|---|---|---|---|---|---|"]
table += ["| " + " | ".join(r) + " |" for r in rows]
summary = "\n".join([
    "<!-- bench-summary-start: written by scripts/bench; edit the script, not this table -->",
    "## Summary",
    "",
    f"`scripts/bench`, Release build, median of {runs} runs of each program (Google Benchmark: "
    f"{runs} repetitions). Machine: {machine}. CPU time where the row says so, else wall time.",
    "",
    *table,
    "",
    ("Not measured in this run: " + "; ".join(missing) + ".") if missing else "",
    "<!-- bench-summary-end -->",
])
print(summary)
if write:
    text = open(doc).read()
    start, end = "<!-- bench-summary-start", "<!-- bench-summary-end -->"
    if start in text and end in text:
        before = text[:text.index(start)]
        after = text[text.index(end) + len(end):]
        text = before + summary + after
    else:
        # Before the first section, after the title and its introduction.
        first = text.find("\n## ")
        first = first + 1 if first >= 0 else len(text)
        text = text[:first] + summary + "\n\n" + text[first:]
    open(doc, "w").write(text)
sys.exit(1 if missing else 0)
