#!/usr/bin/env python3
"""Writes the benchmark workloads: four descriptions of about 100 MB each and
the plain hex dump of the bytes the byte-escape workload stands for.

Usage: generate.py DIRECTORY [MEGABYTES]

The same arguments always give the same files: every choice comes from one
seeded generator per workload.
"""

import os
import random
import sys

LETTERS = "abcdefghijklmnopqrstuvwxyz"


def vocabulary(rng, n=2000):
    return ["".join(rng.choice(LETTERS) for _ in range(rng.randint(2, 10))) for _ in range(n)]


def text_line(rng, words):
    """Words, half the lines labelled, a third ending in an escaped newline,
    some with hexadecimal, octal and caret escapes."""
    tokens = [rng.choice(words) for _ in range(rng.randint(4, 12))]
    if rng.random() < 0.3:
        for _ in range(rng.randint(1, 3)):
            kind = rng.randrange(3)
            if kind == 0:
                esc = "\\x%02x" % rng.randrange(256)
            elif kind == 1:
                esc = "\\%03o" % rng.randrange(256)
            else:
                esc = "^" + chr(rng.randrange(0x40, 0x60))
            tokens.insert(rng.randrange(len(tokens) + 1), esc)
    line = " ".join(tokens)
    if rng.random() < 1 / 3:
        line += "\\n"
    if rng.random() < 0.5:
        line = rng.choice(words) + "\t" + line
    return line


INTEGER_RANGES = {"C": 8, "S": 16, "I": 32, "L": 64}


def integer_line(rng):
    """4 to 16 items: type letters, decimal, negative and hexadecimal
    numbers, byte escapes."""
    items = []
    bits = 32
    for _ in range(rng.randint(4, 16)):
        r = rng.random()
        if r < 0.2:
            letter = rng.choice("CSIL")
            bits = INTEGER_RANGES[letter]
            items.append(letter)
        elif r < 0.3:
            items.append("\\x%02x" % rng.randrange(256))
        else:
            value = rng.getrandbits(rng.randint(1, bits))
            form = rng.random()
            if form < 0.2:
                items.append("0x%x" % value)
            elif form < 0.4:
                items.append("-%d" % (value >> 1))
            else:
                items.append("%d" % value)
    line = "\\# " + " ".join(items)
    if rng.random() < 0.25:
        line = "n%d\t%s" % (rng.randrange(100000), line)
    return line


def float_line(rng):
    """D or F and numbers with six fraction digits, some with exponents,
    some plain integers."""
    items = [rng.choice("DF")]
    for _ in range(rng.randint(4, 12)):
        r = rng.random()
        if r < 0.1:
            items.append(rng.choice("DF"))
            continue
        sign = "-" if rng.random() < 0.3 else ""
        if r < 0.25:
            items.append("%s%d" % (sign, rng.randrange(100000)))
            continue
        number = "%s%d.%06d" % (sign, rng.randrange(10000), rng.randrange(1000000))
        if rng.random() < 0.3:
            number += "%s%s%d" % (rng.choice("eE"), rng.choice(["", "-", "+"]), rng.randrange(40))
        items.append(number)
    return "\\# " + " ".join(items)


def write_lines(path, size, make_line):
    written = 0
    chunk = []
    with open(path, "w", encoding="ascii", newline="\n") as f:
        while written < size:
            line = make_line() + "\n"
            written += len(line)
            chunk.append(line)
            if len(chunk) >= 10000:
                f.write("".join(chunk))
                chunk = []
        f.write("".join(chunk))


def write_byte_escapes(path, hex_path, size, rng):
    """Lines of 32 byte escapes; the hex dump has the same bytes, 32 a line."""
    written = 0
    with open(path, "w", encoding="ascii") as f, open(hex_path, "w", encoding="ascii") as h:
        lines = []
        dump = []
        while written < size:
            data = rng.getrandbits(256).to_bytes(32, "little")
            line = "\\# " + " ".join("\\x%02x" % b for b in data) + "\n"
            written += len(line)
            lines.append(line)
            dump.append(data.hex() + "\n")
            if len(lines) >= 10000:
                f.write("".join(lines))
                h.write("".join(dump))
                lines, dump = [], []
        f.write("".join(lines))
        h.write("".join(dump))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    out = sys.argv[1]
    size = int(float(sys.argv[2]) * 1000000) if len(sys.argv) == 3 else 100000000
    os.makedirs(out, exist_ok=True)

    rng = random.Random(1)
    words = vocabulary(rng)
    write_lines(os.path.join(out, "text.txt"), size, lambda: text_line(rng, words))
    rng = random.Random(2)
    write_lines(os.path.join(out, "integers.txt"), size, lambda: integer_line(rng))
    rng = random.Random(3)
    write_lines(os.path.join(out, "floats.txt"), size, lambda: float_line(rng))
    rng = random.Random(4)
    write_byte_escapes(
        os.path.join(out, "bytes.txt"), os.path.join(out, "bytes.hex"), size, rng
    )


if __name__ == "__main__":
    main()
