#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_startchecks into fuzz/corpus/.

Each seed is laid out as FuzzedDataProvider reads it: the unit text and a
lone backslash from the front, the number-field text after it, and at the
end, read backwards, the mode byte, two 64-bit counts and a double.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def signed(value):
    # ConsumeIntegral<int64_t> answers INT64_MIN plus the raw bits.
    return ((value + 2**63) % 2**64).to_bytes(8, "little")


def seed(unit, number, count, minimum=1, mode=0, utf16=False):
    text = number.encode("utf-16-le") if utf16 else number.encode("utf-8")
    if utf16:
        mode |= 1
    double = struct.pack("<Q", 0x4056B33333333333) + b"\x01"  # any double
    return (unit.encode("utf-8").replace(b"\\", b"\\\\") + b"\\;" + text
            + double + signed(minimum) + signed(count) + bytes([mode]))


SEEDS = {
    "five-minutes": seed("Minutes", "5", 301),
    "leading-blank-and-letters": seed("Seconds", " 42x", 86400 + 3600 + 60 + 1),
    "leading-zeros": seed("Days", "007", -(2**63)),
    "largest-years": seed("Years", "296533308798", -61),
    "years-past-64-bits": seed("Years", "296533308799", 2**63 - 1),
    "largest-number": seed("Seconds", "+9223372036854775807", 2),
    "smallest-number": seed("Seconds", "-9223372036854775808", -1),
    "unit-lower-case": seed("minutes", "12 min", 60, minimum=3600),
    "empty": seed("", "", 0),
    "arabic-indic-digit": seed("Months", "\u06635", 31104000, utf16=True),
    "any-minimum": seed("Hours", "1", 1, minimum=2**63 - 1, mode=2),
}

os.makedirs(CORPUS, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(CORPUS, name), "wb") as f:
        f.write(data)
