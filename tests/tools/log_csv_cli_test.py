#!/usr/bin/env python3
"""The platelog-csv program as a user runs it, its output read back with Python's csv module.

Usage: log_csv_cli_test.py <platelog-csv binary> <scratch folder>
"""
import csv
import os
import shutil
import struct
import subprocess
import sys

tool, scratch = sys.argv[1], os.path.join(sys.argv[2], "log-csv-cli")
shutil.rmtree(scratch, ignore_errors=True)
os.makedirs(scratch)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def record(name, quantity, measure=2, source=1, protein=2600):
    """One entry of a log document, built here from the file layout, not by the program's encoder."""
    values = [0] * 31
    values[2] = protein
    out = struct.pack("<i", len(name)) + name
    out += struct.pack("<31i", *values)
    out += struct.pack("<fif", 0.0, 0, 0.0) + struct.pack("<i", 0)       # first measure, no text
    out += struct.pack("<fif", 0.0, 0, 0.0) + struct.pack("<i", 0)       # second measure, no text
    out += struct.pack("<iifii", 0, 0, quantity, measure, source)
    return out


def document(names):
    body = bytes([len(names)]) + b"".join(record(n, 100.0) for n in names)
    checksum = sum(body) & 0xFF
    return b"mealtally10000" + bytes([checksum]) + body


def run(*args):
    done = subprocess.run([tool, *args], capture_output=True)
    return done.returncode, done.stdout.decode("latin-1"), done.stderr.decode("latin-1")


names = [b'~APPLES, RAW, WITH SKIN~', b'6" PIZZA, "DELUXE"', b'"', b',', b'Cr\xe8me "br\xfbl\xe9e", 1 cup']
log = os.path.join(scratch, "day.mtf")
out = os.path.join(scratch, "day.csv")
with open(log, "wb") as f:
    f.write(document(names))

code, stdout, stderr = run(log, out)
check(code == 0, f"a good document should exit 0, not {code}: {stderr}")
check("wrote 5 entries" in stdout, "no success message")
raw = open(out, "rb").read()
check(raw.count(b"\n") == raw.count(b"\r\n") == len(names) + 2, "every line should end in CR LF")
with open(out, newline="", encoding="latin-1") as f:
    rows = list(csv.reader(f))
check(len(rows) == len(names) + 2, f"expected {len(names) + 2} rows, got {len(rows)}")
check(all(len(r) == 29 for r in rows), "every row should have 29 fields")
check(rows[0][:3] == ["Description", "Quantity", "Measure"], f"header row {rows[0][:3]}")
check([r[0].encode("latin-1") for r in rows[1:-1]] == names, "descriptions should round-trip exactly")
check(rows[-1][0] == "   TOTAL" and rows[-1][1:3] == ["", ""], f"TOTAL row {rows[-1][:3]}")
check(rows[1][4] == "2.600" and rows[-1][4] == "13.000", "protein cells and their total")

code, _, _ = run("--all-columns", "--amounts", log, out)
with open(out, newline="", encoding="latin-1") as f:
    rows = list(csv.reader(f))
check(code == 0 and all(len(r) == 34 for r in rows), "--all-columns should give 34 fields a row")
check(rows[0][3] == "Water" and rows[0][10] == "Calcium (mg)", f"amounts headers {rows[0][3]}, {rows[0][10]}")

# A flipped byte: refused with one line, exit 1, and nothing written.
damaged = bytearray(document(names))
damaged[40] ^= 0x20
bad = os.path.join(scratch, "bad.mtf")
with open(bad, "wb") as f:
    f.write(damaged)
fresh = os.path.join(scratch, "fresh.csv")
code, stdout, stderr = run(bad, fresh)
check(code == 1, f"a damaged document should exit 1, not {code}")
check(stderr.count("\n") == 1 and "damaged" in stderr, f"one-line message expected: {stderr!r}")
check(not os.path.exists(fresh), "nothing may be written for a damaged document")
check(not [n for n in os.listdir(scratch) if n.startswith("fresh")], "no temporary file may stay behind")

before = open(log, "rb").read()
os.link(log, os.path.join(scratch, "link.mtf"))
code, _, stderr = run(log, os.path.join(scratch, "link.mtf"))
check(code == 1 and "is the input file" in stderr, "a link to the input should be refused")
check(open(log, "rb").read() == before, "the input changed")

code, _, stderr = run()
check(code == 2 and stderr.startswith("usage: platelog-csv"), "no arguments should exit 2 with the usage")
code, _, _ = run("--amounts", "--percent", log, out)
check(code == 2, "two views should exit 2")

# A summary of days: the good log, the damaged one and a missing one, in the order of their names.
week = os.path.join(scratch, "week.csv")
# A saved empty log is a day without entries.
empty = os.path.join(scratch, "empty.mtf")
with open(empty, "wb") as f:
    f.write(b"mealtally10000" + bytes([0, 0]))
code, stdout, _ = run("--summary", log, empty, bad, os.path.join(scratch, "absent.mtf"), week)
with open(week, newline="", encoding="latin-1") as f:
    rows = list(csv.reader(f))
check(code == 0 and "summary of 2 days (2 could not be read)" in stdout, f"summary: {code} {stdout!r}")
check([r[0] for r in rows] == ["Log", "absent.mtf", "bad.mtf", "day.mtf", "empty.mtf", "AVERAGE"], f"{rows}")
check(rows[1][1] == "could not be read" and all(c == "" for c in rows[1][2:]), f"unreadable row {rows[1]}")
check(rows[3][1:4] == ["5", "0", "13.000"] and rows[4][1:4] == ["0", "0", "0.000"], "the days")
check(rows[5][1:4] == ["2.5", "0", "6.500"], f"their mean {rows[5][:4]}")
code, _, stderr = run("--summary", bad, log, os.path.join(scratch, "link.mtf"))
check(code == 1 and "one of the input files" in stderr, "a summary over one of its inputs should be refused")
check(open(log, "rb").read() == before, "the summary's input changed")
code, _, stderr = run("--summary", bad, fresh)
check(code == 1 and "none of the log documents" in stderr and not os.path.exists(fresh), "no day, no summary")
code, _, _ = run("--summary", log)
check(code == 2, "a summary without an output should exit 2")

if failures:
    for f in failures:
        print("FAIL:", f)
    sys.exit(1)
shutil.rmtree(scratch)
print("platelog-csv behaves")
