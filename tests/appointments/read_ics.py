#!/usr/bin/env python3
"""Reads the program's iCalendar exports with python3-icalendar, as a phone's calendar would:
the times fall where they should in Europe/Athens on both sides of a daylight-saving change,
the lines follow RFC 5545, and a second export carries the same UIDs (an update, not a copy).
Usage: read_ics.py FIXTURE"""
import datetime
import subprocess
import sys
import tempfile
from pathlib import Path

import icalendar

UTC = datetime.timezone.utc


def check_lines(raw: bytes):
    assert raw.endswith(b"\r\n"), "the file ends with CRLF"
    lines = raw.split(b"\r\n")[:-1]
    for line in lines:
        assert b"\n" not in line and b"\r" not in line, line
        assert len(line) <= 75, (len(line), line)
        line.decode("utf-8")  # no character split between two lines
    assert any(l.startswith(b" ") for l in lines), "the long text was folded"


def events(raw: bytes):
    cal = icalendar.Calendar.from_ical(raw)
    zones = [c for c in cal.walk("VTIMEZONE")]
    assert [str(z["TZID"]) for z in zones] == ["Europe/Athens"]
    out = {}
    for ev in cal.walk("VEVENT"):
        start = ev.decoded("DTSTART")
        end = ev.decoded("DTEND")
        assert start.tzinfo is not None and end - start == datetime.timedelta(minutes=30)
        assert ev.decoded("DTSTAMP").tzinfo is not None
        uid = str(ev["UID"])
        assert uid not in out, "one event per slot"
        out[uid] = (start.astimezone(UTC), str(ev["SUMMARY"]), str(ev.get("DESCRIPTION", "")))
    return out


def main():
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.argv[1], tmp], check=True)
        first_raw = Path(tmp, "first.ics").read_bytes()
        second_raw = Path(tmp, "second.ics").read_bytes()
    check_lines(first_raw)
    first = events(first_raw)
    second = events(second_raw)
    by_summary = {summary: (start, desc) for start, summary, desc in first.values()}

    def utc(*a):
        return datetime.datetime(*a, tzinfo=UTC)

    # 10:00 in Athens is 08:00 UTC in winter (+02:00) and 07:00 UTC in summer (+03:00).
    assert by_summary["Παπαδόπουλος Γιώργος"][0] == utc(2026, 3, 28, 8, 0)
    assert by_summary["Κυριακή, πρωί; δοκιμή \\ κάθετος"][0] == utc(2026, 3, 29, 5, 0)
    assert by_summary["Βλάχου Ελένη"] == (utc(2026, 3, 30, 7, 0), "Δεν προσήλθε")
    assert by_summary["Πριν την αλλαγή"][0] == utc(2026, 10, 24, 7, 0)
    assert by_summary["Μετά την αλλαγή"][0] == utc(2026, 10, 26, 8, 0)
    long_text = ("Μακρύ κείμενο με ελληνικά γράμματα " * 2).strip()
    assert by_summary[long_text][0] == utc(2026, 3, 30, 18, 30)
    assert "Έξω από την περίοδο" not in by_summary
    assert len(first) == 6, sorted(by_summary)

    # The second export: the same slots under the same UIDs, the changed text under its old UID.
    assert set(second) == set(first)
    changed = [uid for uid in first if first[uid][1] == "Παπαδόπουλος Γιώργος"][0]
    assert second[changed][1] == "Παπαδόπουλος Γιώργος (άλλαξε)"
    assert second[changed][0] == first[changed][0]
    print("ok:", len(first), "events")


if __name__ == "__main__":
    main()
