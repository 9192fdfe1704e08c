#!/usr/bin/python3
"""Measures an event log against PyEphem (Debian's python3-ephem) over the whole decade:
every rise, set and twilight of the Sun, the Sun's transit, every rise and set of the Moon
and the planets, and the Moon's perigees and apogees.

Run: /usr/bin/python3 tests/reference/compare_log.py LAT LON LOG [LOG ...] [--cache FILE]
(LOG as `vesperkalend-tool compute --lat LAT --lon LON` writes it; not part of the build.)

The reference events are found in PyEphem's own places, with the program's conventions
(no refraction, observer at height 0, the upper limb at -34' for rises and sets, the
centre at -6, -12, -18 degrees for twilights, the upper meridian passage for the transit)
and the program's time scale: TT - UTC = 69.184 s. PyEphem takes its own Delta T, so
each place is computed at the UT instant shifted by the difference of the two Delta T
values, and the observer's longitude turned back by the sidereal angle of that shift,
which leaves the local sidereal time at the instant asked for. The altitude is sampled
every 10 minutes; every change of sign is bisected to 1 ms, and every extremum between
samples whose parabola reaches the level is located and the level searched on both sides,
so that dips and grazes shorter than the step are found. The Moon's perigees and apogees
are the extremes of its geometric geocentric distance.

Prints per group the number of pairs (a reference event and a log event of the same body
and name within 10 minutes, for the apsides 4 hours, one to one), the median and the 95th percentile of the
absolute difference (s), the events of either side left unpaired, the alternation breaks
of rises and sets in the log (a rise following a rise, or a set a set, of one body), and
the error of the Moon's apsides. --cache FILE keeps the reference events of the site
(computed once, about 10 minutes of CPU per site).
"""
import bisect
import collections
import json
import math
import os
import sys

import ephem

JD_DUBLIN = 2415020.0  # Julian day of PyEphem's day 0
FIRST_JD, LAST_JD = 2459580.5, 2459580.5 + 87650 / 24.0  # the table's first and last row
DAY_S = 86400.0
TT_MINUS_UTC = 69.184  # 2017 on
# TAI - UTC from 1972 (the leap-second table ERFA's eraDat holds): (JD of the day it starts, seconds).
LEAP_SECONDS = [(2441317.5, 10), (2441499.5, 11), (2441683.5, 12), (2442048.5, 13), (2442413.5, 14),
                (2442778.5, 15), (2443144.5, 16), (2443509.5, 17), (2443874.5, 18), (2444239.5, 19),
                (2444786.5, 20), (2445151.5, 21), (2445516.5, 22), (2446247.5, 23), (2447161.5, 24),
                (2447892.5, 25), (2448257.5, 26), (2448804.5, 27), (2449169.5, 28), (2449534.5, 29),
                (2450083.5, 30), (2450630.5, 31), (2451179.5, 32), (2453736.5, 33), (2454832.5, 34),
                (2456109.5, 35), (2457204.5, 36), (2457754.5, 37)]


def tt_minus_utc(jd):
    """The program's TT - UTC (s) at the JD (UTC): the leap-second table plus 32.184 s from
    1972, before it Delta T of Espenak and Meeus's polynomials (NASA/TP-2006-214141)."""
    if jd < LEAP_SECONDS[0][0]:
        year = 2000 + (jd - 2451544.5) / 365.25
        if year < 1961:
            t = year - 1950
            return 29.07 + 0.407 * t - t * t / 233 + t ** 3 / 2547
        t = year - 1975
        return 45.45 + 1.067 * t - t * t / 260 - t ** 3 / 718
    return [s for start, s in LEAP_SECONDS if start <= jd][-1] + 32.184
SIDEREAL_PER_DAY = 2 * math.pi * 1.00273781191135448
STEP = 10.0 / 1440  # sampling step, days
PAIR_WINDOW = 600.0  # seconds
H0 = -34.0 / 60
TWILIGHTS = {-6: ("MBurgD", "ABurgD"), -12: ("MNautD", "ANautD"), -18: ("MAstrD", "AAstrD")}
BODIES = [("Sonne", ephem.Sun), ("Merkur", ephem.Mercury), ("Venus", ephem.Venus), ("Mond", ephem.Moon),
          ("Mars", ephem.Mars), ("Jupiter", ephem.Jupiter), ("Saturn", ephem.Saturn), ("Uranus", ephem.Uranus),
          ("Neptun", ephem.Neptune)]
PLANETS = {"Merkur", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun"}


class Place:
    """PyEphem's place of one body for the observer at a JD (UTC) on the program's time scale."""

    def __init__(self, lat, lon, make):
        self.o = ephem.Observer()
        self.o.lat = str(lat)
        self.o.elevation = 0
        self.o.pressure = 0
        self.lon = math.radians(lon)
        self.body = make()

    def at(self, jd):
        d = jd - JD_DUBLIN
        shift = (tt_minus_utc(jd) - ephem.delta_t(d)) / DAY_S
        self.o.lon = self.lon - shift * SIDEREAL_PER_DAY
        self.o.date = d + shift
        self.body.compute(self.o)
        return self.body

    def distance(self, jd):
        d = jd - JD_DUBLIN
        self.body.compute(ephem.Date(d + (tt_minus_utc(jd) - ephem.delta_t(d)) / DAY_S))
        return self.body.earth_distance


def bisect_root(f, a, b, fa):
    while (b - a) * DAY_S > 0.001:
        m = (a + b) / 2
        fm = f(m)
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m
    return (a + b) / 2


def extremum(f, a, b, maximum):
    """Golden-section search of the extreme of f within [a, b]; returns (t, f(t))."""
    g = (math.sqrt(5) - 1) / 2
    c, d = b - g * (b - a), a + g * (b - a)
    fc, fd = f(c), f(d)
    while (b - a) * DAY_S > 0.5:
        if (fc > fd) == maximum:
            b, d, fd = d, c, fc
            c = b - g * (b - a)
            fc = f(c)
        else:
            a, c, fc = c, d, fd
            d = a + g * (b - a)
            fd = f(d)
    t = (a + b) / 2
    return t, f(t)


def crossings(f, ts, ys):
    """Every zero of f (sampled as ys at ts) with its direction: [(t, rising)]."""
    out = []
    for i in range(1, len(ts)):
        if (ys[i - 1] < 0) != (ys[i] < 0):
            out.append((bisect_root(f, ts[i - 1], ts[i], ys[i - 1]), ys[i] > ys[i - 1]))
        elif 1 < i and (ys[i - 2] < 0) == (ys[i - 1] < 0) == (ys[i] < 0):
            y0, y1, y2 = ys[i - 2], ys[i - 1], ys[i]
            c = y0 - 2 * y1 + y2
            if c == 0 or not ((y1 > y0 and y1 >= y2) or (y1 < y0 and y1 <= y2)):
                continue
            vertex = y1 - (y2 - y0) ** 2 / (8 * c)
            if (vertex < 0) == (y1 < 0) and abs(vertex) > 1e-3:
                continue  # the parabola stays on its side by more than 3.6"
            tm, fm = extremum(f, ts[i - 2], ts[i], y1 > y0)
            if (fm < 0) != (y1 < 0):
                first = bisect_root(f, ts[i - 2], tm, y0)
                second = bisect_root(f, tm, ts[i], fm)
                out.append((first, fm > y0))
                out.append((second, y2 > fm))
    return out


def reference_events(lat, lon):
    events = collections.defaultdict(list)  # (body, event) -> [jd]
    n = int((LAST_JD - FIRST_JD) / STEP) + 1
    ts = [FIRST_JD + k * STEP for k in range(n)]
    for name, make in BODIES:
        p = Place(lat, lon, make)
        levels = [(H0, True, ("Aufgang", "Untergang"))]
        if name == "Sonne":
            levels += [(lv, False, names) for lv, names in TWILIGHTS.items()]
        samples = []
        for t in ts:
            b = p.at(t)
            samples.append((math.degrees(b.alt), math.degrees(b.radius), float(b.ha)))
        for level, limb, (up, down) in levels:
            def f(t, level=level, limb=limb):
                b = p.at(t)
                return math.degrees(b.alt) + (math.degrees(b.radius) if limb else 0) - level
            ys = [a + (r if limb else 0) - level for a, r, _ in samples]
            for t, rising in crossings(f, ts, ys):
                events[(name, up if rising else down)].append(t)
        if name == "Sonne":
            def h(t):
                return math.sin(float(p.at(t).ha))
            ys = [math.sin(ha) for _, _, ha in samples]
            for t, rising in crossings(h, ts, ys):
                if rising and math.cos(float(p.at(t).ha)) > 0:
                    events[(name, "wahrer Mittag")].append(t)
        print("  reference: %s done" % name, file=sys.stderr)
    events.update(apsides(lat, lon))
    return {"%s|%s" % k: sorted(v) for k, v in events.items()}


def solve(a, b):
    """Solution of the linear system a x = b (Gaussian elimination with pivoting)."""
    n = len(b)
    m = [row[:] + [b[i]] for i, row in enumerate(a)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(c + 1, n):
            f = m[r][c] / m[c][c]
            for k in range(c, n + 1):
                m[r][k] -= f * m[c][k]
    x = [0.0] * n
    for r in range(n - 1, -1, -1):
        x[r] = (m[r][n] - sum(m[r][k] * x[k] for k in range(r + 1, n))) / m[r][r]
    return x


def apsides(lat, lon):
    """The Moon's perigees and apogees: the extremes of its geometric geocentric distance.
    PyEphem gives the distance in single precision (35 m at the Moon), which flattens an
    extreme over minutes: a polynomial of degree 4 is fitted to 49 values half an hour apart
    around each hourly extreme, and its turning point taken."""
    p = Place(lat, lon, ephem.Moon)
    events = collections.defaultdict(list)
    hours = [FIRST_JD + k / 24 for k in range(87651)]
    ds = [p.distance(t) for t in hours]
    for i in range(1, len(ds) - 1):
        if not ((ds[i] < ds[i - 1] and ds[i] <= ds[i + 1]) or (ds[i] > ds[i - 1] and ds[i] >= ds[i + 1])):
            continue
        us = [(k - 24) / 2.0 for k in range(49)]  # hours from the row
        ys = [(p.distance(hours[i] + u / 24) - ds[i]) * 1.5e8 for u in us]  # km
        ata = [[sum(u ** (r + c) for u in us) for c in range(5)] for r in range(5)]
        aty = [sum(y * u ** r for u, y in zip(us, ys)) for r in range(5)]
        c = solve(ata, aty)
        t = 0.0
        for _ in range(20):
            d1 = c[1] + 2 * c[2] * t + 3 * c[3] * t * t + 4 * c[4] * t ** 3
            d2 = 2 * c[2] + 6 * c[3] * t + 12 * c[4] * t * t
            t -= d1 / d2
        events[("Mond", "in Erdferne" if ds[i] > ds[i - 1] else "in Erdnähe")].append(hours[i] + t / 24)
    return events


SUN_EVENTS = {"Aufgang", "Untergang", "MAstrD", "AAstrD", "MNautD", "ANautD", "MBurgD", "ABurgD"}


def group_of(body, event):
    if body == "Mond" and event in ("in Erdnähe", "in Erdferne"):
        return "Moon apsides"
    if body == "Sonne":
        return "Sun transit" if event == "wahrer Mittag" else "Sun rise/set/twilight" if event in SUN_EVENTS else None
    if event not in ("Aufgang", "Untergang"):
        return None
    return "Moon rise/set" if body == "Mond" else "planets rise/set"


def window_of(group):
    return 4 * 3600.0 if group == "Moon apsides" else PAIR_WINDOW


def read_log(path):
    events = collections.defaultdict(list)
    for line in open(path, encoding="latin-1"):
        p = line.split("\t")
        if len(p) < 4:
            continue
        events["%s|%s" % (p[2], p[3].encode("latin-1").decode("utf-8", "replace"))].append(float(p[0]))
    return {k: sorted(v) for k, v in events.items()}


def pct(values, q):
    if not values:
        return float("nan")
    s = sorted(values)
    return s[min(len(s) - 1, int(q * (len(s) - 1) + 0.5))]


def compare(ref, log):
    groups = collections.OrderedDict((g, {"err": [], "ref_only": 0, "log_only": 0}) for g in (
        "Sun rise/set/twilight", "Sun transit", "Moon rise/set", "planets rise/set", "Moon apsides"))
    for key, rts in ref.items():
        if "|" not in key:
            continue
        body, event = key.split("|")
        g = group_of(body, event)
        if g is None:
            continue
        lts = list(log.get(key, []))
        used = [False] * len(lts)
        for t in rts:
            j = bisect.bisect_left(lts, t)
            best = None
            for k in (j - 1, j):
                if 0 <= k < len(lts) and not used[k] and abs(lts[k] - t) * DAY_S <= window_of(g):
                    if best is None or abs(lts[k] - t) < abs(lts[best] - t):
                        best = k
            if best is None:
                groups[g]["ref_only"] += 1
            else:
                used[best] = True
                groups[g]["err"].append((lts[best] - t) * DAY_S)
        groups[g]["log_only"] += used.count(False)
    for key, lts in log.items():
        body, event = key.split("|")
        g = group_of(body, event)
        if g is not None and key not in ref:
            groups[g]["log_only"] += len(lts)
    return groups


def alternation_breaks(log):
    breaks = 0
    for body, _ in BODIES:
        seq = sorted([(t, 1) for t in log.get(body + "|Aufgang", [])] + [(t, 0) for t in log.get(body + "|Untergang", [])])
        breaks += sum(1 for a, b in zip(seq, seq[1:]) if a[1] == b[1])
    return breaks


def main():
    args = sys.argv[1:]
    cache = None
    if "--cache" in args:
        i = args.index("--cache")
        cache = args[i + 1]
        del args[i:i + 2]
    lat, lon, logs = float(args[0]), float(args[1]), args[2:]
    if cache and os.path.exists(cache):
        ref = json.load(open(cache))
        if ref.get("version") != [2]:
            ref.update({"%s|%s" % k: sorted(v) for k, v in apsides(lat, lon).items()})
            ref["version"] = [2]
            json.dump(ref, open(cache, "w"))
    else:
        ref = reference_events(lat, lon)
        ref["version"] = [2]
        if cache:
            json.dump(ref, open(cache, "w"))
    for path in logs:
        log = read_log(path)
        print("%s (%.2f, %.2f): rise/set alternation breaks %d" % (path, lat, lon, alternation_breaks(log)))
        print("  %-22s %6s %9s %9s %9s %9s %8s %8s" % ("group", "pairs", "median", "p95", "max", "mean",
                                                     "ref only", "log only"))
        for g, r in compare(ref, log).items():
            e = [abs(x) for x in r["err"]]
            mean = sum(r["err"]) / len(r["err"]) if r["err"] else float("nan")
            print("  %-22s %6d %9.3f %9.3f %9.3f %+9.3f %8d %8d" % (g, len(e), pct(e, 0.5), pct(e, 0.95),
                                                                 max(e) if e else float("nan"), mean,
                                                                 r["ref_only"], r["log_only"]))


if __name__ == "__main__":
    main()
