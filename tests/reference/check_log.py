#!/usr/bin/python3
"""Checks every rise, set and twilight of the Sun and the Moon in an event log against
PyEphem (Debian's python3-ephem), an ephemeris library independent of this program.

Run: /usr/bin/python3 tests/reference/check_log.py LAT LON LOG
(LOG as `vesperkalend-tool compute --lat LAT --lon LON` writes it; not part of the build.)

Conventions as in make_reference.py: no refraction, observer at height 0, rise and set
of the upper limb at -34' geometric altitude, twilights of the centre at -6, -12, -18
degrees. For each event the altitude a second either side of its instant tells whether
the body crosses the level there in the event's direction; if it does, the crossing is
found by bisection to 0.01 s and the difference printed when above 5 s; if not, the
nearest such crossing within 2 hours is reported, or that there is none (an event that
does not happen). Prints the number of events checked, the largest difference and the
events found wrong, counted by body, event and kind.
"""
import collections
import math
import sys

import ephem

JD_DUBLIN = 2415020.0  # Julian day of PyEphem's day 0
SECOND = 1.0 / 86400
LEVELS = {"MAstrD": -18, "AAstrD": -18, "MNautD": -12, "ANautD": -12, "MBurgD": -6, "ABurgD": -6}


def main():
    lat, lon, path = float(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
    o = ephem.Observer()
    o.lat, o.lon = str(lat), str(lon)
    o.elevation = 0
    o.pressure = 0
    bodies = {"Sonne": ephem.Sun(), "Mond": ephem.Moon()}

    def f(body, limb, level, jd):
        o.date = ephem.Date(jd - JD_DUBLIN)
        b = bodies[body]
        b.compute(o)
        return math.degrees(b.alt) + (math.degrees(b.radius) if limb else 0) - level

    def crosses(y0, y1, up):
        return (y0 < 0) != (y1 < 0) and (y1 > y0) == up

    checked, largest, wrong = 0, 0.0, []
    for line in open(path, encoding="latin-1"):
        p = line.split("\t")
        if len(p) < 4 or p[2] not in bodies:
            continue
        body, event = p[2], p[3]
        if event in LEVELS:
            limb, level = False, LEVELS[event]
        elif event in ("Aufgang", "Untergang"):
            limb, level = True, -34.0 / 60
        else:
            continue
        jd = float(p[0])
        up = event.startswith("M") or event == "Aufgang"
        checked += 1
        lo, hi = jd - 30 * SECOND, jd + 30 * SECOND
        flo, fhi = f(body, limb, level, lo), f(body, limb, level, hi)
        if crosses(flo, fhi, up):
            while hi - lo > 0.01 * SECOND:
                m = (lo + hi) / 2
                fm = f(body, limb, level, m)
                if (fm < 0) == (flo < 0):
                    lo, flo = m, fm
                else:
                    hi = m
            error = (jd - (lo + hi) / 2) * 86400
            largest = max(largest, abs(error))
            if abs(error) > 5:
                wrong.append((jd, body, event, "off by %.1f s" % error))
            continue
        nearest, t = None, jd - 2 / 24
        y = f(body, limb, level, t)
        while t < jd + 2 / 24:
            y2 = f(body, limb, level, t + 60 * SECOND)
            if crosses(y, y2, up) and (nearest is None or abs(t - jd) < abs(nearest - jd)):
                nearest = t + 30 * SECOND
            t, y = t + 60 * SECOND, y2
        wrong.append((jd, body, event, "no crossing within 2 h" if nearest is None
                      else "nearest crossing %.0f s away" % ((jd - nearest) * 86400)))
    print("%s: %d events checked, largest difference where they cross %.2f s, %d wrong"
          % (path, checked, largest, len(wrong)))
    kinds = collections.Counter((b, e, w.split(" ")[0]) for _, b, e, w in wrong)
    for (body, event, kind), n in sorted(kinds.items()):
        print("  %-6s %-10s %-8s %d" % (body, event, kind, n))
    for jd, body, event, what in wrong[:20]:
        print("  JD %.6f %s %s: %s" % (jd, body, event, what))


main()
