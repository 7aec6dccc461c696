"""Decks and working directories for running tharsel from the bench scripts."""
import os
import shutil

from cea_cases import ROOT


def fixed(value):
    return ("%-12f" % value)


def deck(title, ids, runs):
    lines = ["bench   .out", "%-17s" % title, "%5i    0%5i" % (len(ids), len(runs)), fixed(1.0),
             fixed(298.15), fixed(0.3) + fixed(0.0) + fixed(0.0), "00000000",
             "".join("%5d" % i for i in ids)]
    for pc, pe, masses in runs:
        lines.append(fixed(pc) + fixed(pe) + "".join(fixed(m) for m in masses))
    return "\r\n".join(lines) + "\r\n"


def prepare(directory, text):
    for name in ("kalcoded.daf", "jannaf.daf"):
        shutil.copy(os.path.join(ROOT, "data", name), directory)
    with open(os.path.join(directory, "setup.kal"), "w") as f:
        f.write("HD\n" + "\n".join(os.path.join(directory, n) for n in
                                   ("kalcoded.daf", "notused", "jannaf.daf", "tharsel.out")) + "\n")
    with open(os.path.join(directory, "input.dat"), "w", newline="") as f:
        f.write(text)
