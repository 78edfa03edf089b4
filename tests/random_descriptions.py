#!/usr/bin/env python3
"""Writes random description files, for comparing builds on different
machines: text lines with labels, carets and escapes; numeric lines with
every type letter, type escapes, integers in every base, decimals with
long mantissas and wild exponents, byte escapes; now and then a minus sign
with no number (a translation error) and, near the end of some files, a
character that starts nothing (invalid input).

Usage: random_descriptions.py DIR COUNT SEED
"""
import os
import random
import sys


def text_line(rng):
    alphabet = "abcXYZ 019^^\\\\\\\\xntr#@?[]-+.,\r\x80\xe9\xff\x01"
    field = "".join(rng.choice(alphabet) for _ in range(rng.randrange(0, 60)))
    if field.startswith("\\#"):
        field = "a" + field  # stays a text line
    label = "label\t" if rng.randrange(3) == 0 else ""
    return label + field


def integer(rng):
    digits = lambda chars, n: "".join(rng.choice(chars) for _ in range(n))
    kind = rng.randrange(5)
    if kind == 0:
        text = "0x" + digits("0123456789abcdefABCDEF", rng.randrange(0, 20))
    elif kind == 1:
        text = "0b" + digits("01,", rng.randrange(0, 70))
    elif kind == 2:
        text = "0" + digits("01234567", rng.randrange(0, 24))
    else:
        text = rng.choice("123456789") + digits("0123456789", rng.randrange(0, 24))
    return rng.choice(["", "", "", "-", "- "]) + text


def decimal(rng):
    digits = lambda n: "".join(rng.choice("0123456789") for _ in range(n))
    sign = rng.choice(["", "-"])
    whole = digits(rng.choice([0, 1, 3, 16, 17, 25, 330]))
    text = sign + (whole or ("" if sign else "0"))  # only a minus sign may start it
    if rng.randrange(2):
        text += "." + digits(rng.choice([0, 1, 5, 17, 30]))
    if rng.randrange(2):
        exponent = rng.choice([str(rng.randrange(0, 400)), str(rng.randrange(0, 2**33)),
                               "0" * rng.randrange(1, 4) + str(rng.randrange(0, 30))])
        text += rng.choice("eEdD") + rng.choice(["", "+", "-"]) + exponent
    return text


def numeric_line(rng, may_fail):
    items = []
    value_type = "I"
    for _ in range(rng.randrange(0, 14)):
        kind = rng.randrange(10)
        if kind < 2:
            value_type = rng.choice("CSILFD")
            items.append(value_type)
        elif kind == 2:
            value_type = rng.choice("CSILFDZ\x80")
            items.append("\\#" + value_type)
        elif kind == 3:
            items.append(rng.choice(["\\x", "\\x4", "\\x41", "\\x0041", "\\1", "\\101", "\\777", "\\8", "\\"]))
        elif value_type in "FD":
            items.append(decimal(rng))
        else:
            items.append(integer(rng))
    if may_fail and rng.randrange(15) == 0:
        items.append(rng.choice(["-", "-x", "- "]))  # a translation error
    if may_fail and rng.randrange(400) == 0:
        items.append(rng.choice(["+", ".5", "c", "\\q", "\xe9"]))  # invalid input
    return "\\#" + rng.choice([" ", "", "  "]) + " ".join(items)


def main():
    folder, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        lines = []
        for _ in range(rng.randrange(50, 400)):
            if rng.randrange(2):
                lines.append(text_line(rng))
            else:
                lines.append(numeric_line(rng, may_fail=i % 2 == 1))
        with open(os.path.join(folder, "random%03d.txt" % i), "w", encoding="latin-1") as f:
            f.write("\n".join(lines) + rng.choice(["\n", ""]))


main()
