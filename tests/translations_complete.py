#!/usr/bin/env python3
"""Every text lupdate finds in the code has a finished translation in each
shipped .ts file. Usage: translations_complete.py LUPDATE SRC_DIR TS..."""
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path


def messages(ts):
    out = {}
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.find("name").text
        for m in context.iter("message"):
            source = m.find("source").text
            if source:
                out[(name, source)] = m.find("translation")
    return out


def main():
    lupdate, src, shipped = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as tmp:
        found = Path(tmp) / "found.ts"
        subprocess.run([lupdate, "-silent", src, "-ts", str(found), "-locations", "none"],
                       check=True, stderr=subprocess.DEVNULL)
        wanted = messages(found).keys()
    failed = False
    for ts in shipped:
        have = messages(ts)
        for key in sorted(wanted):
            t = have.get(key)
            if t is None or not (t.text or "").strip() or t.get("type") in ("unfinished", "obsolete"):
                print(f"{Path(ts).name}: no translation for [{key[0]}] {key[1]!r}")
                failed = True
    sys.exit(1 if failed else 0)


main()
