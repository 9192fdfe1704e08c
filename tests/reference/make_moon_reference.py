#!/usr/bin/python3
"""Writes moon_light.tsv: the Moon's illuminated fraction and age at local noon from PyEphem
(Debian's python3-ephem), an ephemeris library independent of this program, for the
Moon's light test.

Run: /usr/bin/python3 tests/reference/make_moon_reference.py > tests/reference/moon_light.tsv
(The table is committed; the build never runs this script. A few seconds.)

Local noon follows the program's classic zone rows: the row's offset plus one hour of
European summer time (last Sunday of March 01:00 UT to last Sunday of October 01:00 UT)
at every site, as the program's zones keep it.

The fraction is (1 + cos i) / 2 with the phase angle i of the triangle Sun-Earth-Moon,
from PyEphem's apparent geocentric places and distances of the Sun and the Moon.
PyEphem's own `moon_phase` is written beside it for comparison only: it comes from a
short lunar and solar theory of its own and differs from its exact places by up to
0.2 percentage points (column moon_phase_pct). The age is the time since PyEphem's
previous new Moon (equal apparent geocentric ecliptic longitudes).

Times are on the program's scale (TT - UTC = 69.184 s), as in make_reference.py.

Columns: lat, lon, zone row, local date, UT of local noon (Julian day), fraction (percent),
age (days, "-" when the new Moon before lies before the period's start, 2022-01-01),
PyEphem's moon_phase (percent).
"""
import datetime
import math
import os
import sys

import ephem

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_log import DAY_S, JD_DUBLIN, tt_minus_utc  # noqa: E402

# lat, lon, zone row, zone offset: Central Europe, the polar north, Sydney
SITES = [(47.5, 7.5, 16, 1.0), (69.65, 18.96, 16, 1.0), (-33.87, 151.21, 32, 10.0)]
# Twelve days a year, one in each month, at changing days of the month and phases.
DAYS = ["2025-%02d-%02d" % (m, 3 + (m * 5) % 26) for m in range(1, 13)]
DAYS += ["2022-01-01", "2022-01-02", "2022-01-03", "2028-07-21", "2031-12-31"]
PERIOD_START = datetime.datetime(2022, 1, 1, tzinfo=datetime.timezone.utc)


def shift(d):
    """Days to add to a UT date (PyEphem's days) so that PyEphem's TT is UT + the program's TT - UTC."""
    return (tt_minus_utc(float(d) + JD_DUBLIN) - ephem.delta_t(d)) / DAY_S


def last_sunday(year, month):
    d = datetime.date(year, month + 1, 1) - datetime.timedelta(days=1)  # month < 12
    return d - datetime.timedelta(days=(d.weekday() + 1) % 7)


def summer_time(ut):
    start = datetime.datetime.combine(last_sunday(ut.year, 3), datetime.time(1), datetime.timezone.utc)
    end = datetime.datetime.combine(last_sunday(ut.year, 10), datetime.time(1), datetime.timezone.utc)
    return start <= ut < end


def to_jd(ut):
    return 2451545.0 + (ut - datetime.datetime(2000, 1, 1, 12, tzinfo=datetime.timezone.utc)).total_seconds() / 86400


def main():
    out = sys.stdout
    out.write("# The Moon's light at local noon from PyEphem %s; written by tests/reference/make_moon_reference.py.\n"
              % ephem.__version__)
    out.write("# lat\tlon\tzone\tdate\tnoon_ut_jd\tfraction_pct\tage_days\tmoon_phase_pct\n")
    for lat, lon, zone, offset in SITES:
        for day in DAYS:
            y, m, d = map(int, day.split("-"))
            noon = datetime.datetime(y, m, d, 12, tzinfo=datetime.timezone.utc) - datetime.timedelta(hours=offset)
            if summer_time(noon - datetime.timedelta(hours=1)):
                noon -= datetime.timedelta(hours=1)
            jd = to_jd(noon)
            date = ephem.Date(jd - JD_DUBLIN)
            s = shift(date)
            sun, moon = ephem.Sun(), ephem.Moon()
            sun.compute(ephem.Date(date + s))
            moon.compute(ephem.Date(date + s))
            psi = float(ephem.separation((sun.ra, sun.dec), (moon.ra, moon.dec)))
            big_r, delta = sun.earth_distance, moon.earth_distance
            i = math.atan2(big_r * math.sin(psi), delta - big_r * math.cos(psi))
            fraction = (1 + math.cos(i)) / 2 * 100
            new_moon = float(ephem.previous_new_moon(ephem.Date(date + s))) - s
            age = "-" if new_moon + JD_DUBLIN < to_jd(PERIOD_START) else "%.5f" % (float(date) - new_moon)
            out.write("%g\t%g\t%d\t%s\t%.6f\t%.4f\t%s\t%.4f\n" % (lat, lon, zone, day, jd, fraction, age,
                                                                 moon.moon_phase * 100))


if __name__ == "__main__":
    main()
