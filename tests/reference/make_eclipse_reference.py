#!/usr/bin/python3
"""Writes eclipse_times.tsv: the contacts and magnitudes of the eclipses and the lunar
occultations of the planets from 2022 to 2031, from PyEphem's places (Debian's
python3-ephem, an ephemeris library independent of this program) and a shadow and limb
geometry of this script's own, for the eclipse reference test.

Run: /usr/bin/python3 tests/reference/make_eclipse_reference.py > tests/reference/eclipse_times.tsv
(The table is committed; the build never runs this script. About two minutes.)

Places: PyEphem's apparent geocentric places (g_ra, g_dec, and earth_distance computed
for the date alone, without an observer) on the program's
time scale (TT - UTC = 69.184 s, aligned as compare_log.Place does), and its apparent local
sidereal time; the topocentric places are the geocentric vectors less the observer's (height
0, flattening 1/298.257), no refraction.

Conventions (those of the published canons):
  - Earth's shadow after Danjon: the Earth's radius enlarged by 1/85 and reduced by 1/594 for
    its flattening; penumbral and umbral radii 1.01 pi_M + pi_S +- s_S;
  - the Moon's radius k = 0.2725076 Earth radii, its semidiameter asin(k / distance);
  - the Sun's semidiameter 959.63" at 1 au;
  - greatest lunar eclipse: the least distance of the Moon's centre from the shadow's axis;
    the maximum of a solar eclipse at a site: the least distance of the topocentric centres;
  - an occultation's instants: the planet's centre at the Moon's topocentric limb.
Listed as the program lists them: a solar eclipse when the Sun's upper limb stands above -34'
some time between its first and last contact, an occultation when the Moon's does at the
disappearance or the reappearance. Lunar eclipses are global.

A canon value for comparison (Espenak, eclipsewise.com, Danjon's rule): the total lunar
eclipse of 2022-05-16 has umbral magnitude 1.4136 and penumbral magnitude 2.3726 (not in
the table; the table holds this script's values alone).

Columns: kind (lunar, solar, occultation), latitude, longitude (degrees; 0 0 for lunar),
body (the occulted planet, else Mond or Sonne), item (P1 U1 U2 U3 U4 P4 greatest umbral
penumbral | C1 C2 C3 C4 maximum magnitude obscuration | disappearance reappearance), value
(Julian day UT, or the magnitude), the UT as text.
"""
import math
import os
import sys

import ephem

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_log import FIRST_JD, JD_DUBLIN, LAST_JD, Place, bisect_root, extremum  # noqa: E402

ER_PER_AU = 149597870.7 / 6378.136
K_MOON = 0.2725076
SUN_SD_1AU = math.radians(959.63 / 3600)
DANJON = 1 + 1 / 85 - 1 / 594
FLATTENING = 1 / 298.257
HORIZON = math.radians(-34 / 60)
MINUTE = 1 / 1440
HOUR = 1 / 24
SITES = [(47.5, 7.5), (-33.87, 151.21), (69.65, 18.96)]
PLANETS = [("Merkur", ephem.Mercury), ("Venus", ephem.Venus), ("Mars", ephem.Mars), ("Jupiter", ephem.Jupiter),
           ("Saturn", ephem.Saturn), ("Uranus", ephem.Uranus), ("Neptun", ephem.Neptune)]


def vec(ra, dec, r):
    return (r * math.cos(dec) * math.cos(ra), r * math.cos(dec) * math.sin(ra), r * math.sin(dec))


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def norm(a):
    return math.sqrt(a[0] ** 2 + a[1] ** 2 + a[2] ** 2)


def angle(a, b):
    c = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    return math.atan2(norm(c), a[0] * b[0] + a[1] * b[1] + a[2] * b[2])


class Site:
    def __init__(self, lat, lon):
        self.lat = math.radians(lat)
        u = math.atan((1 - FLATTENING) * math.tan(self.lat))
        self.rho_sin = (1 - FLATTENING) * math.sin(u)
        self.rho_cos = math.cos(u)
        self.places = {}
        self.latlon = (lat, lon)

    def place(self, make):
        if make not in self.places:
            self.places[make] = Place(self.latlon[0], self.latlon[1], make)
        return self.places[make]

    def geo(self, make, jd):
        """Geocentric apparent vector (Earth radii) and the local apparent sidereal time."""
        p = self.place(make)
        # earth_distance of a body computed for an observer is the observer's distance: the
        # geocentric one is computed for the date alone.
        r = p.distance(jd) * ER_PER_AU
        b = p.at(jd)
        return vec(float(b.g_ra), float(b.g_dec), r), float(p.o.sidereal_time())

    def topo(self, make, jd):
        g, lst = self.geo(make, jd)
        o = (self.rho_cos * math.cos(lst), self.rho_cos * math.sin(lst), self.rho_sin)
        return sub(g, o), lst

    def altitude(self, v, lst):
        up = (math.cos(self.lat) * math.cos(lst), math.cos(self.lat) * math.sin(lst), math.sin(self.lat))
        return math.asin((v[0] * up[0] + v[1] * up[1] + v[2] * up[2]) / norm(v))


GEO = Site(0, 0)


def sampled_minimum(f, a, b, step):
    ts = [a + k * step for k in range(int((b - a) / step) + 1)]
    best = min(ts, key=f)
    return extremum(f, max(a, best - step), min(b, best + step), False)[0]


def contacts(f, mid, reach):
    out = []
    for toward in (-1, 1):
        t, found = mid, None
        while abs(t - mid) < reach:
            t2 = t + toward * 5 * MINUTE
            if f(t2) >= 0:
                found = bisect_root(f, min(t, t2), max(t, t2), f(min(t, t2)))
                break
            t = t2
        out.append(found)
    return out


def jd_of(date):
    return float(date) + JD_DUBLIN


def syzygies(func):
    out, d = [], ephem.Date(FIRST_JD - JD_DUBLIN + 1)
    while True:
        d = func(d)
        if jd_of(d) > LAST_JD - 1:
            return out
        out.append(jd_of(d))


def shadow(t):
    s, _ = GEO.geo(ephem.Sun, t)
    m, _ = GEO.geo(ephem.Moon, t)
    rm, rs = norm(m), norm(s)
    axis = DANJON * math.asin(1 / rm) + math.asin(1 / rs)
    ss = SUN_SD_1AU * ER_PER_AU / rs
    return angle(m, (-s[0], -s[1], -s[2])), math.asin(K_MOON / rm), axis + ss, axis - ss


def text(jd):
    return str(ephem.Date(jd - JD_DUBLIN))


def row(kind, lat, lon, body, item, value, is_time=True):
    print(f"{kind}\t{lat}\t{lon}\t{body}\t{item}\t{value:.7f}\t{text(value) if is_time else ''}")


def lunar(full):
    d, m, p, u = shadow(full)
    if d > p + m + 0.02:
        return
    g = extremum(lambda t: shadow(t)[0], full - 0.25, full + 0.25, False)[0]
    d, m, p, u = shadow(g)
    pmag, umag = (p + m - d) / (2 * m), (u + m - d) / (2 * m)
    if pmag <= 0:
        return
    p1, p4 = contacts(lambda t: (lambda s: s[0] - s[2] - s[1])(shadow(t)), g, 5 * HOUR)
    times = {"P1": p1, "P4": p4, "greatest": g}
    if umag > 0:
        times["U1"], times["U4"] = contacts(lambda t: (lambda s: s[0] - s[3] - s[1])(shadow(t)), g, 5 * HOUR)
    if umag >= 1:
        times["U2"], times["U3"] = contacts(lambda t: (lambda s: s[0] - s[3] + s[1])(shadow(t)), g, 5 * HOUR)
    for item in ("P1", "U1", "U2", "U3", "U4", "P4", "greatest"):
        if item in times:
            row("lunar", 0, 0, "Mond", item, times[item])
    row("lunar", 0, 0, "Mond", "umbral", umag, False)
    row("lunar", 0, 0, "Mond", "penumbral", pmag, False)


def sun_moon(site, t):
    s, lst = site.topo(ephem.Sun, t)
    m, _ = site.topo(ephem.Moon, t)
    return angle(s, m), SUN_SD_1AU * ER_PER_AU / norm(s), math.asin(K_MOON / norm(m)), s, lst


def solar(site, new):
    lat, lon = site.latlon
    f = lambda t: (lambda x: x[0] - x[1] - x[2])(sun_moon(site, t))  # noqa: E731
    if f(new) > math.radians(2.5):
        return
    mx = sampled_minimum(f, new - 5 * HOUR, new + 5 * HOUR, 10 * MINUTE)
    if f(mx) >= 0:
        return
    d, rs, rm, _, _ = sun_moon(site, mx)
    c1, c4 = contacts(f, mx, 4 * HOUR)

    def up(t):
        _, rs_, _, s, lst = sun_moon(site, t)
        return site.altitude(s, lst) + rs_ - HORIZON

    n = max(1, int(math.ceil((c4 - c1) / (5 * MINUTE))))
    if not any(up(c1 + (c4 - c1) * k / n) > 0 for k in range(n + 1)):
        return
    mag = (rs + rm - d) / (2 * rs)
    if d >= rs + rm:
        obsc = 0.0
    elif d <= abs(rm - rs):
        obsc = 1.0 if rm >= rs else rm * rm / (rs * rs)
    else:
        a = math.acos((d * d + rs * rs - rm * rm) / (2 * d * rs))
        b = math.acos((d * d + rm * rm - rs * rs) / (2 * d * rm))
        obsc = (rs * rs * (a - math.sin(2 * a) / 2) + rm * rm * (b - math.sin(2 * b) / 2)) / (math.pi * rs * rs)
    times = {"C1": c1, "maximum": mx, "C4": c4}
    if d < abs(rm - rs):
        times["C2"], times["C3"] = contacts(lambda t: (lambda x: x[0] - abs(x[2] - x[1]))(sun_moon(site, t)), mx,
                                            4 * HOUR)
    for item in ("C1", "C2", "C3", "C4", "maximum"):
        if item in times:
            row("solar", lat, lon, "Sonne", item, times[item])
    row("solar", lat, lon, "Sonne", "magnitude", mag, False)
    row("solar", lat, lon, "Sonne", "obscuration", obsc, False)


def conjunction_candidates():
    """(planet name, constructor, JD) of every sampled least geocentric separation below 2.5 degrees."""
    out = []
    step = 2 * HOUR
    n = int((LAST_JD - FIRST_JD - 1) / step)
    moon = [GEO.geo(ephem.Moon, FIRST_JD + 0.5 + k * step)[0] for k in range(n)]
    for name, make in PLANETS:
        seps = [angle(moon[k], GEO.geo(make, FIRST_JD + 0.5 + k * step)[0]) for k in range(n)]
        for k in range(1, n - 1):
            if seps[k] <= seps[k - 1] and seps[k] < seps[k + 1] and seps[k] < math.radians(2.5):
                out.append((name, make, FIRST_JD + 0.5 + k * step))
    return out


def occultation(site, name, make, t0):
    lat, lon = site.latlon

    def inside(t):
        m, _ = site.topo(ephem.Moon, t)
        p, _ = site.topo(make, t)
        return angle(m, p) - math.asin(K_MOON / norm(m))

    c = sampled_minimum(inside, t0 - 5 * HOUR, t0 + 5 * HOUR, 10 * MINUTE)
    if inside(c) >= 0:
        return
    d, r = contacts(inside, c, 3 * HOUR)

    def up(t):
        m, lst = site.topo(ephem.Moon, t)
        return site.altitude(m, lst) + math.asin(K_MOON / norm(m)) - HORIZON

    if up(d) <= 0 and up(r) <= 0:
        return
    row("occultation", lat, lon, name, "disappearance", d)
    row("occultation", lat, lon, name, "reappearance", r)


def main():
    print("# " + __doc__.strip().splitlines()[0])
    print("# Written by make_eclipse_reference.py; PyEphem " + ephem.__version__)
    for full in syzygies(ephem.next_full_moon):
        lunar(full)
    sites = [Site(lat, lon) for lat, lon in SITES]
    for new in syzygies(ephem.next_new_moon):
        for s in sites:
            solar(s, new)
    for name, make, t0 in conjunction_candidates():
        for s in sites:
            occultation(s, name, make, t0)


if __name__ == "__main__":
    main()
