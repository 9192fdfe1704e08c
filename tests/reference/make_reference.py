#!/usr/bin/python3
"""Writes reference_times.tsv: event instants from PyEphem (Debian's python3-ephem),
an ephemeris library independent of this program, for the reference test.

Run: /usr/bin/python3 tests/reference/make_reference.py > tests/reference/reference_times.tsv
(The table is committed; the build never runs this script.)

PyEphem is set up to use the program's conventions:
  - no refraction (pressure 0), observer at height 0;
  - rise and set: upper limb at -34' geometric altitude (horizon -0:34, upper limb);
  - twilights: the Sun's centre at -6, -12, -18 degrees (use_center);
  - transit: upper meridian passage of the Sun;
  - Moon phases: apparent geocentric ecliptic longitude difference of date 0, 90, 180, 270 degrees;
  - seasons: the Sun's apparent right ascension 0, 6, 12, 18 h (ecliptic longitude
    0, 90, 180, 270 degrees to within the Sun's tiny latitude);
  - conjunctions and oppositions: apparent geocentric ecliptic longitude difference from the Sun.

Tolerances (seconds), column "precise": the method between the rows is exact to well
under a second, so what remains is the two ephemerides' difference: 2 s for the Sun's
rise, set, twilights and transit, 3 s for the Moon's rise and set, 10 s for the phases,
60 s for the seasons, 120 s for conjunctions and oppositions (a 1" difference in
longitude moves a conjunction of a slow pair by up to 100 s).
Column "classic": the precise tolerance plus 1.25 times the error bound of the hourly
interpolation the classic method uses, from the derivatives of the quantity at the
event (PyEphem, steps of one hour):
  - twilights, linear within the hour:     |f''| / (8 |f'|)
  - rise, set, transit, three-point quadratic: |f'''| * 2 / (3 sqrt 3) / 6 / |f'|
with f the altitude (plus the semidiameter for rise and set) or the sine of the hour angle.
Rows are kept only where the quantity changes by at least 2 degrees per hour (the
crossing is then sharp; near-grazing events at the arctic site are left out), except
for the grazing nights below.

Grazing nights: where the Sun's centre dips just below a twilight level around
midnight, its evening and morning crossings lie minutes apart on either side of
one hourly row, and each must be found in its own hour. They are found here by
scanning the altitude in steps of 2 minutes and bisecting each change of sign; the
precise tolerance is 2 s plus 1" of altitude at the crossing's rate. The classic
method interpolates linearly between rows whose altitudes bend strongly within the
hour; all it gives is the right hour, so its tolerance is an hour.

Skimming nights: the lower limb dips below the horizon while the upper limb stays
above (the Sun at the start and end of the midnight sun, the Moon near its
extreme declinations). There is no rise and no set; a row with "absent" as its
precise tolerance says that the precise instants have no such event within its
classic tolerance (s) of its instant, where PyEphem finds the upper limb above the
horizon throughout. The classic method, whose brackets are the lower limb's,
writes them, and those rows are not checked in its mode.

Columns: lat, lon (degrees, east positive), zone row (of the program's zone table),
body, event (the program's names), UT instant (Julian day), tolerance precise (s,
or "absent"), tolerance classic (s), local offset (hours from UT, "-" when not
checked), UT as text.
"""
import datetime
import math
import sys
import zoneinfo

import ephem

# lat, lon, zone row, zone offset, IANA zone of the local-time check (or None)
SITES = [
    (47.5, 7.5, 16, 1.0, "Europe/Zurich"),
    (69.65, 18.96, 16, 1.0, "Europe/Oslo"),
    (-33.87, 151.21, 32, 10.0, None),
]
JD_DUBLIN = 2415020.0  # Julian day of PyEphem's day 0
HOUR = 1.0 / 24
MIN_RATE = 2.0  # degrees per hour

TOL_PRECISE = {"sun": 2.0, "moon": 3.0, "phase": 10.0, "season": 60.0, "conj": 120.0}
TWILIGHTS = [(-6, "MBurgD", "ABurgD"), (-12, "MNautD", "ANautD"), (-18, "MAstrD", "AAstrD")]


def observer(lat, lon, date, horizon="-0:34"):
    o = ephem.Observer()
    o.lat, o.lon = str(lat), str(lon)
    o.elevation = 0
    o.pressure = 0
    o.horizon = horizon
    o.date = date
    return o


def quantity(lat, lon, body, kind, horizon):
    """f(date) whose zero is the event: altitude (degrees) or sine of the hour angle."""
    def f(d):
        o = observer(lat, lon, d)
        body.compute(o)
        if kind == "transit":
            return math.sin(float(body.ha))
        alt = math.degrees(float(body.alt))
        if kind == "limb":
            alt += math.degrees(float(body.radius))
        return alt - horizon
    return f


def derivatives(f, d):
    """f', f'', f''' at d per hour, from samples one hour apart."""
    y = [f(d + k * HOUR) for k in (-2, -1, 0, 1, 2)]
    d1 = (y[3] - y[1]) / 2
    d2 = y[3] - 2 * y[2] + y[1]
    d3 = (y[4] - 2 * y[3] + 2 * y[1] - y[0]) / 2
    return d1, d2, d3


def classic_bound(f, d, linear):
    d1, d2, d3 = derivatives(f, d)
    if linear:
        return abs(d2) / (8 * abs(d1)) * 3600
    return abs(d3) * 2 / (3 * math.sqrt(3)) / 6 / abs(d1) * 3600


def rate_ok(f, d, kind):
    d1 = derivatives(f, d)[0]
    if kind == "transit":
        return True
    return abs(d1) >= MIN_RATE


ROWS = []


def add(site, body, event, date, tol_precise, tol_classic):
    lat, lon, zone, _, tz = site
    jd = float(date) + JD_DUBLIN
    ut = ephem.Date(date).datetime().replace(tzinfo=datetime.timezone.utc)
    local = "-"
    if tz is not None:
        local = "%g" % (ut.astimezone(zoneinfo.ZoneInfo(tz)).utcoffset().total_seconds() / 3600)
    precise = tol_precise if isinstance(tol_precise, str) else "%.1f" % tol_precise
    ROWS.append("%g\t%g\t%d\t%s\t%s\t%.9f\t%s\t%.1f\t%s\t%s" % (
        lat, lon, zone, body, event, jd, precise, tol_classic, local, ut.strftime("%Y-%m-%d %H:%M:%S.%f")[:-5]))


def daily_events(site, day):
    """Rises, sets, twilights and the transit of the Sun and the Moon's rise and set after the local midnight of `day`."""
    lat, lon, _, _, _ = site
    start = ephem.Date(ephem.Date(day) - lon / 360.0)
    end = start + 1
    found = []
    sun, moon = ephem.Sun(), ephem.Moon()
    h0 = -34.0 / 60

    def riset(body, name, horizon, use_center, kind, tol):
        o = observer(lat, lon, start, "%f" % horizon)
        for rising, event in ((True, name[0]), (False, name[1])):
            try:
                d = o.next_rising(body, use_center=use_center) if rising else o.next_setting(body, use_center=use_center)
            except ephem.CircumpolarError:
                continue
            if d >= end:
                continue
            f = quantity(lat, lon, body.copy(), kind, horizon)
            if not rate_ok(f, d, kind):
                continue
            bound = classic_bound(f, d, linear=kind == "centre")
            found.append((d, BODY[body.name], event, tol, tol + 1.25 * bound))

    riset(sun, ("Aufgang", "Untergang"), h0, False, "limb", TOL_PRECISE["sun"])
    for level, morning, evening in TWILIGHTS:
        riset(sun, (morning, evening), level, True, "centre", TOL_PRECISE["sun"])
    o = observer(lat, lon, start)
    d = o.next_transit(sun)
    if d < end:
        f = quantity(lat, lon, ephem.Sun(), "transit", 0)
        found.append((d, "Sonne", "wahrer Mittag", TOL_PRECISE["sun"],
                      TOL_PRECISE["sun"] + 1.25 * classic_bound(f, d, linear=False)))
    riset(moon, ("Aufgang", "Untergang"), h0, False, "limb", TOL_PRECISE["moon"])
    for d, body, event, tp, tc in sorted(found):
        add(site, body, event, d, tp, tc)


# lat, lon, zone row, zone offset, IANA zone; UT of the evening before the
# grazing night; level and the program's names of the morning and the evening crossing.
GRAZING = [
    ((48.5, 7.5, 16, 1.0, "Europe/Paris"), "2022/6/28 21:00", (-18, "MAstrD", "AAstrD")),
    ((48.5, 7.5, 16, 1.0, "Europe/Paris"), "2023/6/28 21:00", (-18, "MAstrD", "AAstrD")),
    ((69.65, 18.96, 16, 1.0, "Europe/Oslo"), "2024/3/25 18:00", (-18, "MAstrD", "AAstrD")),
    ((-54.8, -68.3, 11, -3.0, None), "2022/2/1 0:00", (-18, "MAstrD", "AAstrD")),
    ((64.1, -21.9, 15, 0.0, None), "2025/8/15 21:00", (-12, "MNautD", "ANautD")),
]


def grazing_events(site, evening, twilight):
    lat, lon, _, _, _ = site
    level, morning, evening_name = twilight
    f = quantity(lat, lon, ephem.Sun(), "centre", level)
    step = 2.0 / 1440
    t = float(ephem.Date(evening))
    y = f(t)
    found = []
    for _ in range(int(10 / 24 / step)):
        t2, y2 = t + step, f(t + step)
        if (y < 0) != (y2 < 0):
            a, b, ya = t, t2, y
            while b - a > 1e-8:
                m = (a + b) / 2
                ym = f(m)
                if (ym < 0) == (ya < 0):
                    a, ya = m, ym
                else:
                    b = m
            d = (a + b) / 2
            rate = abs(derivatives(f, d)[0])
            tol = TOL_PRECISE["sun"] + 1.0 / 3600 / rate * 3600
            found.append((d, morning if y2 > 0 else evening_name, tol, 3600.0))
        t, y = t2, y2
    assert len(found) == 2, (site, evening, found)
    for d, name, tp, tc in found:
        add(site, "Sonne", name, ephem.Date(d), tp, tc)


# lat, lon, zone row, zone offset, IANA zone; body; UT window (Julian days) of a skimming night.
SKIMMING = [
    ((69.65, 18.96, 16, 1.0, "Europe/Oslo"), "Sun", 2459718.40, 2459718.68),
    ((69.65, 18.96, 16, 1.0, "Europe/Oslo"), "Sun", 2460083.40, 2460083.62),
    ((64.1, -21.9, 15, 0.0, None), "Moon", 2459623.88, 2459624.06),
]


def skimming_rows(site, body_name, jd0, jd1):
    lat, lon, _, _, _ = site
    f = quantity(lat, lon, getattr(ephem, body_name)(), "limb", -34.0 / 60)
    step = 2.0 / 1440
    t = jd0 - JD_DUBLIN
    while t < jd1 - JD_DUBLIN:
        assert (f(t) < 0) == (f(t + step) < 0), (site, body_name, t)
        t += step
    mid, half = (jd0 + jd1) / 2, (jd1 - jd0) / 2 * 86400
    for event in ("Aufgang", "Untergang"):
        add(site, BODY[body_name], event, ephem.Date(mid - JD_DUBLIN), "absent", half)


BODY = {"Sun": "Sonne", "Moon": "Mond", "Mercury": "Merkur", "Venus": "Venus", "Mars": "Mars",
        "Jupiter": "Jupiter", "Saturn": "Saturn"}


def ecl_lon(body, d):
    body.compute(d)
    return ephem._libastro.eq_ecl(d, body.g_ra, body.g_dec)[0]


def longitude_events(site, planet, start, end, targets, names):
    """Instants where the planet's longitude minus the Sun's passes a target (radians)."""
    sun = ephem.Sun()
    p = getattr(ephem, planet)()

    def diff(d, target):
        return (ecl_lon(p, d) - ecl_lon(sun, d) - target + math.pi) % (2 * math.pi) - math.pi

    out = []
    step = 1.0
    t = float(start)
    prevs = {tg: diff(t, tg) for tg in targets}
    while t < end and len(out) < 4:
        t2 = t + step
        for tg in targets:
            v = diff(t2, tg)
            if (prevs[tg] < 0) != (v < 0) and abs(prevs[tg] - v) < 1:
                root = ephem.newton(lambda x: diff(x, tg), t, t2)
                rising = v > prevs[tg]
                out.append((root, names[(tg, rising)]))
            prevs[tg] = v
        t = t2
    return out


def main():
    # Sun and Moon, every site: dates spread over the decade and the seasons.
    for site in SITES:
        for year in range(2022, 2032):
            month = 1 + (year - 2022) * 5 % 12
            day = 3 + (7 * year + month) % 24
            daily_events(site, "%d/%d/%d" % (year, month, day))
    for site, evening, twilight in GRAZING:
        grazing_events(site, evening, twilight)
    for site, body_name, jd0, jd1 in SKIMMING:
        skimming_rows(site, body_name, jd0, jd1)
    a = SITES[0]
    # Moon phases.
    d = ephem.Date("2022/1/10")
    for _ in range(3):
        for fn, name in ((ephem.next_new_moon, "Neumond"), (ephem.next_first_quarter_moon, "Erstes Viertel"),
                         (ephem.next_full_moon, "Vollmond"), (ephem.next_last_quarter_moon, "Letztes Viertel")):
            d = fn(d)
            add(a, "Mond", name, d, TOL_PRECISE["phase"], TOL_PRECISE["phase"])
        d = ephem.Date(d + 200)
    d = ephem.Date("2029/3/1")
    for fn, name in ((ephem.next_new_moon, "Neumond"), (ephem.next_full_moon, "Vollmond")):
        d = fn(d)
        add(a, "Mond", name, d, TOL_PRECISE["phase"], TOL_PRECISE["phase"])
    # Equinoxes and solstices.
    for year in (2022, 2026, 2031):
        d = ephem.Date("%d/1/1" % year)
        for fn, name in ((ephem.next_vernal_equinox, "Frühlingsanfang (Ekliptik)"),
                         (ephem.next_summer_solstice, "Sommeranfang (Ekliptik)"),
                         (ephem.next_autumnal_equinox, "Herbstanfang (Ekliptik)"),
                         (ephem.next_winter_solstice, "Winteranfang (Ekliptik)")):
            d = fn(d)
            add(a, "Sonne", name, d, TOL_PRECISE["season"], TOL_PRECISE["season"])
    # Conjunctions and oppositions.
    start, end = float(ephem.Date("2022/1/5")), float(ephem.Date("2031/12/25"))
    outer = {(0.0, False): "in Konjunktion zur Sonne", (math.pi, False): "in Opposition zur Sonne",
             (0.0, True): "?", (math.pi, True): "?"}
    inner = {(0.0, False): "in unterer Konjunktion zu Sonne", (0.0, True): "in oberer Konjunktion zur Sonne"}
    for planet, targets, names in (("Mars", (0.0, math.pi), outer), ("Jupiter", (0.0, math.pi), outer),
                                   ("Saturn", (0.0, math.pi), outer), ("Venus", (0.0,), inner),
                                   ("Mercury", (0.0,), inner)):
        for d, name in longitude_events(a, planet, start, end, targets, names)[:4]:
            if name != "?":
                add(a, BODY[planet], name, d, TOL_PRECISE["conj"], TOL_PRECISE["conj"])
    out = sys.stdout
    out.write("# Reference instants from PyEphem %s; written by tests/reference/make_reference.py.\n" % ephem.__version__)
    out.write("# lat\tlon\tzone\tbody\tevent\tut_jd\ttol_precise_s\ttol_classic_s\tlocal_offset_h\tut\n")
    for r in ROWS:
        out.write(r + "\n")


main()
