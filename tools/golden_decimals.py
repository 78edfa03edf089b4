#!/usr/bin/env python3
"""Writes tests/golden/decimals.txt: numeric lines of random decimal numbers
under D and F, whose translation must be the same bytes on every machine.

Every exponent from -340 to 340 scales some number; the other numbers have
long mantissas (past 2 to the 53rd, and long fractions),
every exponent marker with and without a sign, exponents at the edges of
the double range, huge exponents that wrap in 32 bits, and the products of
zero and infinity that give a NaN. The file is committed together with the
SHA-256 of its translation (tests/golden/decimals.sha256), made on x86-64.

Usage: tools/golden_decimals.py > tests/golden/decimals.txt
"""
import random

rng = random.Random(20261210)


def digits(n):
    return "".join(rng.choice("0123456789") for _ in range(n))


def exponent():
    kind = rng.randrange(6)
    if kind == 0:
        value = str(rng.randrange(0, 30))
    elif kind == 1:
        value = str(rng.randrange(280, 330))  # the edges of the double range
    elif kind == 2:
        value = str(rng.randrange(30, 280))
    elif kind == 3:
        value = str(rng.randrange(2**31 - 400, 2**32 + 400))  # wraps in 32 bits
    elif kind == 4:
        value = digits(rng.randrange(11, 16))  # wraps many times
    else:
        value = "0" * rng.randrange(1, 5) + str(rng.randrange(0, 400))
    return rng.choice("eEdD") + rng.choice(["", "", "+", "-", "-"]) + value


def mantissa():
    whole = digits(rng.choice([0, 1, 1, 2, 3, 5, 8, 15, 16, 17, 19, 25, 40]))
    fraction = ""
    if rng.randrange(3):
        fraction = "." + digits(rng.choice([0, 1, 2, 3, 6, 10, 17, 25, 40]))
    if whole == "":
        whole = "0" if fraction == "" or rng.randrange(2) else ""
    return whole, fraction


def number():
    kind = rng.randrange(40)
    if kind == 0:  # zero times an infinite power
        return rng.choice(["", "-"]) + "0" * rng.randrange(1, 4) + rng.choice(["e", "E", "d"]) + \
            rng.choice(["400", "309", "+999", "2147483647"])
    if kind == 1:  # an infinite mantissa times a zero power
        return rng.choice(["", "-"]) + "1" + "0" * rng.randrange(309, 400) + "e-" + \
            str(rng.randrange(400, 1000))
    if kind == 2:
        return rng.choice(["-", "-e5", "-.", "0.", "-0"])
    sign = "-" if rng.randrange(4) == 0 else ""
    whole, fraction = mantissa()
    if sign == "" and whole == "":
        whole = "0"
    text = sign + whole + fraction
    if rng.randrange(2):
        text += exponent()
    return text


def every_exponent():
    """Lines of doubles that give every power of ten of the double range and
    a little beyond, alone and scaling a random mantissa."""
    items = []
    for e in range(-340, 341):
        whole, fraction = mantissa()
        marker = rng.choice("eEdD")
        items.append("1%s%d %s%s%s%d" % (marker, e, whole or "1", fraction, marker, e))
        if len(items) == 8:
            yield "\\#D " + " ".join(items)
            items = []
    if items:
        yield "\\#D " + " ".join(items)


def main():
    for line in every_exponent():
        print(line)
    for _ in range(400):
        items = []
        for _ in range(rng.randrange(5, 16)):
            if rng.randrange(4) == 0 or not items:
                items.append(rng.choice("DF"))
            items.append(number())
        print("\\#" + " ".join(items))


main()
