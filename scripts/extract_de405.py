#!/usr/bin/python3
"""Maintainer's script: makes the committed inputs of the ephemeris exporter.

The build never runs this script and needs neither casacore nor Python. It is
kept so that every committed data file can be made again from its source:

  de405          the DE405 extract read by tools/ephemgen
                 (data/de405/de405_1960-2060.bin, every record: TDB 1959-12-10 ... 2060-02)
  test-extract   the small DE405 extract for the dates of the HORIZONS test tables
                 (tests/ephemgen/fixtures/de405_fixture_dates.bin)
  fixtures       excerpts of the HORIZONS DE405 observer tables shipped with
                 Debian's python3-ephem (tests/ephemgen/fixtures/horizons_*.txt)
  constellations the IAU constellation boundaries of Roman (1987) shipped with
                 Debian's python3-astropy (data/constellations/constellation_data_roman87.dat)
  all            all of the above

Sources are Debian packages fetched with `apt-get download` and unpacked with
`dpkg -x` into a temporary folder (or taken from --debs DIR when the .deb files
are already there). Reading the DE405 table needs Debian's python3-casacore
(`apt-get install python3-casacore`), hence /usr/bin/python3.

Extract file layout, all little-endian, no padding:

  offset  size        field
  0       8           magic "VKDE405\\0"
  8       4 uint32    layout version, 1
  12      4 uint32    DE number, 405
  16      4 uint32    record count N
  20      4 uint32    doubles per record K
  24      4 uint32    item count M
  28      4 uint32    0
  32      8 double    days per record (32)
  40      8 double    astronomical unit of the ephemeris, km
  48      8 double    Earth/Moon mass ratio
  56      8 double    speed of light, km/s
  64      12*M int32  per item: 1-based offset in a record, coefficients per
                      component, sub-intervals (JPL's pointer table)
  64+12M  8*K*N       N records in ascending time, each K doubles:
                      [0] TDB MJD at the start of the record, [1] TDB MJD at
                      its end, [2 ...] the Chebyshev coefficients in JPL's
                      record layout, so that item i starts at [offset_i - 1]
  end     8 uint64    FNV-1a 64 checksum of every byte before it

Items kept: 0 Mercury, 1 Venus, 2 Earth-Moon barycentre, 3 Mars, 4 Jupiter,
5 Saturn, 6 Uranus, 7 Neptune, 8 Pluto (system barycentres), 9 Moon
(geocentric), 10 Sun. Units: km and days, ICRF axes, barycentric except the
Moon. Records may leave gaps (the test extract does); a reader must look a
record up by its own start and end.
"""

import argparse
import datetime
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

DE405_PACKAGE = "casacore-data-jpl-de405"
EPHEM_PACKAGE = "python3-ephem"
ASTROPY_PACKAGE = "python3-astropy"

DE405_TABLE = "usr/share/casacore/data/ephemerides/DE405"
EPHEM_JPL_TESTS = "usr/lib/python3/dist-packages/ephem/tests/jpl"
ROMAN87 = "usr/lib/python3/dist-packages/astropy/coordinates/data/constellation_data_roman87.dat"

MAGIC = b"VKDE405\0"
LAYOUT_VERSION = 1
ITEMS_KEPT = 11  # Mercury ... Sun; nutations and librations are not needed

MAIN_RANGE = ("1959-12-01", "2060-03-01")  # every record of the package
FIXTURE_BODIES = ["mars", "jupiter", "saturn", "uranus", "neptune"]
# Days of margin around each HORIZONS table: light time and the record edges.
FIXTURE_MARGIN_DAYS = 2


def mjd_of(date_text):
    d = datetime.date.fromisoformat(date_text)
    return (d - datetime.date(1858, 11, 17)).days


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in bytes(data):
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def unpack_debs(packages, debs_dir, work):
    """Unpacks the named packages' .deb files into work/root; returns that folder."""
    root = os.path.join(work, "root")
    os.makedirs(root, exist_ok=True)
    for package in packages:
        found = glob.glob(os.path.join(debs_dir, package + "_*.deb")) if debs_dir else []
        if not found:
            subprocess.run(["apt-get", "download", package], cwd=work, check=True)
            found = glob.glob(os.path.join(work, package + "_*.deb"))
        if not found:
            sys.exit("no .deb of %s found" % package)
        subprocess.run(["dpkg", "-x", sorted(found)[-1], root], check=True)
    return root


def write_atomic(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    print("wrote %s (%d bytes)" % (os.path.relpath(path, REPO), len(data)))


def write_extract(root, ranges, path):
    """Writes the records of the DE405 table that overlap any of the MJD ranges."""
    from casacore.tables import table  # Debian's python3-casacore

    tab = table(os.path.join(root, DE405_TABLE), ack=False)
    kw = tab.getkeywords()
    if int(kw["DENUM"]) != 405 or float(kw["dMJD"]) != 32.0:
        sys.exit("unexpected DE405 table keywords")
    desc = [int(v) for v in tab.getcolkeywords("x")["Description"]]
    offsets, counts, subs = desc[0:13], desc[13:26], desc[26:39]
    items = [(offsets[i], counts[i], subs[i]) for i in range(ITEMS_KEPT)]
    doubles = max(o - 1 + 3 * n * s for o, n, s in items)
    mjds = tab.getcol("MJD")
    span = float(kw["dMJD"])

    records = []
    for row, start in enumerate(mjds):
        start = float(start)
        end = start + span
        if not any(start < hi and end > lo for lo, hi in ranges):
            continue
        x = tab.getcell("x", row)
        if len(x) != 1018:
            sys.exit("row %d holds %d doubles, not 1018" % (row, len(x)))
        # x lacks the record's two leading JD words: put the MJDs in their place.
        rec = [start, end] + [float(v) for v in x[: doubles - 2]]
        records.append(rec)
    tab.close()
    if not records:
        sys.exit("no records in the requested ranges")
    for a, b in zip(records, records[1:]):
        if b[0] < a[1]:
            sys.exit("records overlap or are out of order")

    out = bytearray()
    out += MAGIC
    out += struct.pack("<6I", LAYOUT_VERSION, 405, len(records), doubles, len(items), 0)
    out += struct.pack("<4d", span, float(kw["AU"]), float(kw["EMRAT"]), float(kw["CLIGHT"]))
    for item in items:
        out += struct.pack("<3i", *item)
    for rec in records:
        out += struct.pack("<%dd" % doubles, *rec)
    out += struct.pack("<Q", fnv1a64(out))
    write_atomic(path, bytes(out))
    print("  %d records, TDB MJD %.1f ... %.1f" % (len(records), records[0][0], records[-1][1]))


def fixture_ranges(root):
    """MJD ranges of the HORIZONS test tables, with a margin."""
    month = {m: i + 1 for i, m in enumerate(
        ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"])}
    ranges = []
    for body in FIXTURE_BODIES:
        with open(os.path.join(root, EPHEM_JPL_TESTS, body + ".txt")) as f:
            lines = f.read().splitlines()
        days = []
        for line in lines:
            if line.startswith("Start time") or line.startswith("Stop  time"):
                y, m, d = line.split("A.D.")[1].split()[0].split("-")
                days.append(mjd_of("%s-%02d-%s" % (y, month[m], d)))
        ranges.append((min(days) - FIXTURE_MARGIN_DAYS, max(days) + FIXTURE_MARGIN_DAYS))
    return ranges


def write_fixtures(root):
    """Copies the HORIZONS tables' header and rows; drops the closing notes."""
    for body in FIXTURE_BODIES:
        with open(os.path.join(root, EPHEM_JPL_TESTS, body + ".txt")) as f:
            lines = f.read().splitlines()
        end = lines.index("$$EOE")
        text = "\n".join(line.rstrip() for line in lines[: end + 1]) + "\n"
        write_atomic(os.path.join(REPO, "tests/ephemgen/fixtures", "horizons_%s.txt" % body),
                     text.encode("ascii"))


def write_constellations(root):
    with open(os.path.join(root, ROMAN87), "rb") as f:
        data = f.read()
    write_atomic(os.path.join(REPO, "data/constellations/constellation_data_roman87.dat"), data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("what", choices=["de405", "test-extract", "fixtures", "constellations", "all"])
    parser.add_argument("--debs", help="folder that already holds the .deb files")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="vk-extract-")
    try:
        packages = []
        if args.what in ("de405", "test-extract", "all"):
            packages.append(DE405_PACKAGE)
        if args.what in ("test-extract", "fixtures", "all"):
            packages.append(EPHEM_PACKAGE)
        if args.what in ("constellations", "all"):
            packages.append(ASTROPY_PACKAGE)
        root = unpack_debs(packages, args.debs, work)

        if args.what in ("de405", "all"):
            lo, hi = (mjd_of(d) for d in MAIN_RANGE)
            write_extract(root, [(lo, hi)], os.path.join(REPO, "data/de405/de405_1960-2060.bin"))
        if args.what in ("test-extract", "all"):
            write_extract(root, fixture_ranges(root),
                          os.path.join(REPO, "tests/ephemgen/fixtures/de405_fixture_dates.bin"))
        if args.what in ("fixtures", "all"):
            write_fixtures(root)
        if args.what in ("constellations", "all"):
            write_constellations(root)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
