#!/usr/bin/python3
"""Writes data/crccheck_logs.txt: for every catalogue CRC that Debian's python3-crccheck knows,
logs of frames 0x7E, a random payload, the payload's CRC by crccheck (low or high byte first)
and 0x0D. The identification's tests read the file; crccheck is an implementation independent
of this program's, so these logs check it from outside. Run it by hand after adding a model:

    apt-get install python3-crccheck && tests/identify/make_crccheck_logs.py
"""
import os
import random
import re

import crccheck.crc

# The catalogue names of the registry's CRC rows, as identify/checksum_models.cpp lists them.
source = open(os.path.join(os.path.dirname(__file__), "../../identify/checksum_models.cpp")).read()
names = re.findall(r'Crc\("(CRC-[^"]+)"', source)

rng = random.Random(2024)
lines = ["# model order: frames of 7E, payload, CRC by python3-crccheck, 0D (see make_crccheck_logs.py)"]
for name in names:
    width, rest = name[4:].split("/", 1)
    cls = "Crc" + width + "".join(part[:1].upper() + part[1:].lower() for part in re.split(r"[-/]", rest))
    crc = getattr(crccheck.crc, {"CRC-16/MCRF4XX": "Crc16Mcrf4XX"}.get(name, cls), None)
    if crc is None:
        continue
    for order in (["low"] if width == "8" else ["low", "high"]):
        lines.append("## %s %s" % (name, order))
        for _ in range(8):
            payload = bytes(rng.randrange(256) for _ in range(rng.randrange(3, 31)))
            value = crc.calc(payload).to_bytes(int(width) // 8, "little" if order == "low" else "big")
            lines.append((b"\x7e" + payload + value + b"\x0d").hex(" ").upper())
open(os.path.join(os.path.dirname(__file__), "data/crccheck_logs.txt"), "w").write("\n".join(lines) + "\n")
