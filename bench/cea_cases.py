"""The propellants that tharsel is held to, and NASA CEA's results for them.

Each case names ingredients by their line in data/kalcoded.daf; CEA is given
the same formulas and heats of formation, read from that file.  CEA is reached
through Debian's rocketcea package (python3 module rocketcea).
"""
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# name, [(ingredient line, mass)], chamber psia, exhaust psia
CASES = [
    ("AP/HTPB/Al 68/14/18", [(41, 68.0), (42, 14.0), (1, 18.0)], 1000.0, 14.696),
    ("AP/HTPB 80/20", [(41, 80.0), (42, 20.0)], 1000.0, 14.696),
    ("AN/HTPB 80/20", [(18, 80.0), (42, 20.0)], 1000.0, 14.696),
    ("KNO3/sucrose 65/35", [(20, 65.0), (11, 35.0)], 1000.0, 14.696),
    ("NC/NG 55/45", [(48, 55.0), (50, 45.0)], 1000.0, 14.696),
    ("HMX/GAP 70/30", [(25, 70.0), (46, 30.0)], 1000.0, 14.696),
    ("AP/HTPB/Al 68/14/18 500 psia", [(41, 68.0), (42, 14.0), (1, 18.0)], 500.0, 1.0),
]


def ingredients():
    rows = []
    with open(os.path.join(ROOT, "data", "kalcoded.daf")) as f:
        for line in f:
            name, formula, dhf, density = [field.strip() for field in line.split(";")]
            rows.append((name, formula, float(dhf), float(density)))
    return rows


def cea_card(case):
    rows = ingredients()
    total = sum(mass for _, mass in case[1])
    card = ""
    for k, (number, mass) in enumerate(case[1]):
        _, formula, dhf, _ = rows[number - 1]
        card += "name I%d %s wt%%=%.6f h,kj/mol=%.6f t(k)=298.15\n" % (
            k + 1, formula, 100.0 * mass / total, dhf)
    return card


def include_ions():
    """Makes every later CEA problem consider ions (CEA's "ions" keyword on
    its problem line, which rocketcea does not offer)."""
    import rocketcea.cea_obj as cea_obj
    plain = cea_obj.set_py_cea_line

    def with_ions(number, line):
        plain(number, line + " ions" if line.startswith(" rocket") else line)
    cea_obj.set_py_cea_line = with_ions


def cea_object(case, index):
    from rocketcea.cea_obj import CEA_Obj, add_new_propellant
    name = "tharselcase%d" % index
    add_new_propellant(name, cea_card(case))
    return CEA_Obj(propName=name)


def cea_output(cea, case, frozen):
    return cea.get_full_cea_output(Pc=case[2], PcOvPe=case[2] / case[3], frozen=frozen,
                                   short_output=0, show_transport=0, output="siunits")


def _number(text):
    # CEA writes densities such as "6.7627 0" and "1.6182-1" (mantissa, exponent).
    m = re.fullmatch(r"(-?[0-9.]+)([-+ ][0-9]+)?", text)
    if m.group(2):
        return float(m.group(1)) * 10 ** int(m.group(2).strip())
    return float(m.group(1))


def _row(out, label):
    for line in out.splitlines():
        if line.startswith(" " + label):
            rest = line[len(label) + 1:]
            return [float(v) for v in rest.split()]
    raise KeyError(label)


def parse(out):
    """Chamber, throat and exit columns of a CEA rocket output."""
    rows = {"p_bar": "P, BAR", "t": "T, K", "m": "M, (1/n)", "cp": "Cp, KJ/(KG)(K)", "gamma": "GAMMAs",
            "sound": "SON VEL,M/SEC", "mach": "MACH NUMBER", "area": "Ae/At", "cstar": "CSTAR, M/SEC",
            "cf": "CF", "ivac": "Ivac, M/SEC", "isp": "Isp, M/SEC"}
    r = {key: _row(out, label) for key, label in rows.items()}
    fractions = {}
    text = out.split("MOLE FRACTIONS", 1)[1].split("* THERMODYNAMIC PROPERTIES", 1)[0]
    tokens = text.split()
    i = 0
    while i < len(tokens):
        name = tokens[i].lstrip("*")
        values = []
        i += 1
        while i < len(tokens) and re.fullmatch(r"-?[0-9.]+(-[0-9]+)?", tokens[i]):
            values.append(_number(tokens[i]))
            i += 1
        if values:
            fractions[name] = values
    r["x"] = fractions
    return r
