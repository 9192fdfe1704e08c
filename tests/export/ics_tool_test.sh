#!/usr/bin/env bash
# vesperkalend-tool ics: the file read back by python3-icalendar and imported
# into calcurse; the bad inputs.
#   ics_tool_test.sh TOOL DATA_DIR WORK_DIR
set -euo pipefail
tool=$1 data=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
cd "$work"
export XDG_CACHE_HOME="$work/cache"   # tables of other periods are made there
fail() { echo "FAIL: $*" >&2; exit 1; }

# April 2024 in Basel (zone row 16, UTC+01:00 with summer time), every kind.
"$tool" ics --from 2024-04-01 --to 2024-04-30 --kinds all --dir "$data" --out april.ics 2>tool.log || { cat tool.log; fail "ics"; }
count=$(sed -n 's/^\([0-9]*\) events written.*/\1/p' tool.log)
[ "$count" -gt 500 ] || fail "only '$count' events"

# The independent parser: every event, and the Moon's phases of April 2024 at
# the instants the almanac offices publish (UTC, to the minute).
/usr/bin/python3 - "$count" <<'PY' || fail "python3-icalendar check"
import sys, datetime as dt, icalendar
cal = icalendar.Calendar.from_ical(open("april.ics", "rb").read())
events = list(cal.walk("VEVENT"))
assert len(events) == int(sys.argv[1]), (len(events), sys.argv[1])
utc = dt.timezone.utc
uids = set()
for e in events:
    start = e["DTSTART"].dt
    assert start.tzinfo is not None and start.utcoffset() == dt.timedelta(0), start
    # Local days of April in summer time (UTC+2): 2024-03-31 22:00 … 2024-04-30 22:00 UTC.
    assert dt.datetime(2024, 3, 31, 22, tzinfo=utc) <= start < dt.datetime(2024, 4, 30, 22, tzinfo=utc), start
    assert "DTEND" not in e and "DURATION" not in e
    assert abs(e["GEO"].latitude - 47.5) < 1e-9 and abs(e["GEO"].longitude - 7.5) < 1e-9
    assert str(e["LOCATION"]) == "47.50° N, 7.50° O", e["LOCATION"]
    uids.add(str(e["UID"]))
assert len(uids) == len(events), "UIDs not unique"
phases = {"Letztes Viertel": (2, 3, 15), "Neumond": (8, 18, 21), "Erstes Viertel": (15, 19, 13), "Vollmond": (23, 23, 49)}
for name, (day, hour, minute) in phases.items():
    found = [e for e in events if str(e["SUMMARY"]) == "Mond: " + name]
    assert len(found) == 1, (name, len(found))
    want = dt.datetime(2024, 4, day, hour, minute, tzinfo=utc)
    got = found[0]["DTSTART"].dt
    assert abs((got - want).total_seconds()) <= 120, (name, got, want)
    assert "Ortszeit: 2024-04-" in str(found[0]["DESCRIPTION"]), found[0]["DESCRIPTION"]
print("parsed", len(events), "events")
PY

# A week around the March equinox at Berlin, by default and with kinds named:
# the default holds sunrise and sunset, the phases, one start of each season
# (by the ecliptic) and eclipses; naming the seasons adds the one by the
# equator; the calendar and its events are named after the place.
for kinds in default seasons all; do
  args=(); [ "$kinds" = default ] || args=(--kinds "$kinds")
  "$tool" ics --from 2024-03-17 --to 2024-03-23 --place Berlin "${args[@]}" --dir "$data" --out "week-$kinds.ics" \
    2>tool.log || { cat tool.log; fail "ics --place Berlin $kinds"; }
  if grep -q 'Computing\|Done\.\|Making the tables' tool.log; then cat tool.log; fail "progress lines without a terminal"; fi
done
/usr/bin/python3 - <<'PY' || fail "default calendar of a week"
import icalendar
def load(kinds):
    cal = icalendar.Calendar.from_ical(open(f"week-{kinds}.ics", "rb").read())
    return cal, [str(e["SUMMARY"]) for e in cal.walk("VEVENT")]
cal, default = load("default")
assert str(cal["X-WR-CALNAME"]) == "Vesperkalend: Berlin", cal["X-WR-CALNAME"]
for e in cal.walk("VEVENT"):
    assert str(e["LOCATION"]) == "Berlin", e["LOCATION"]
    assert abs(e["GEO"].latitude - 52.5) < 0.1 and abs(e["GEO"].longitude - 13.4) < 0.1, e["GEO"]
assert default.count("Sonne: Aufgang") == 7 and default.count("Sonne: Untergang") == 7, default
assert "Sonne: Frühlingsanfang (Ekliptik)" in default and not any("Äquator" in s for s in default), default
assert "Mond: Erstes Viertel" in default, default
assert len(default) == 16, (len(default), default)
_, seasons = load("seasons")
assert sorted(seasons) == ["Sonne: Frühlingsanfang (Ekliptik)", "Sonne: Frühlingsanfang (Äquator)"], seasons
_, every = load("all")
assert "Sonne: Frühlingsanfang (Äquator)" in every and any("im Meridian" in s for s in every), every
assert len(every) > 20 * 7, len(every)
open("week-default.txt", "w").write("\n".join(default) + "\n")
print("default week:", len(default), "events; all kinds:", len(every))
PY

# The same day twice gives the same identifiers.
"$tool" ics --from 2024-04-08 --to 2024-04-08 --kinds phases --dir "$data" --out one.ics 2>/dev/null
grep '^UID:' one.ics | while read -r uid; do grep -qxF "$uid" april.ics || fail "UID $uid not stable"; done
[ "$(grep -c '^BEGIN:VEVENT' one.ics)" -eq 1 ] || fail "one phase on 2024-04-08"

# A real calendar program imports every event.
mkdir -p calcurse
report=$(TZ=UTC calcurse -D calcurse -i april.ics 2>&1 | tail -1)
[ "$report" = "$count apps / 0 events / 0 todos / 0 skipped" ] || fail "calcurse import: $report"
[ "$(wc -l < calcurse/apts)" -eq "$count" ] || fail "calcurse holds $(wc -l < calcurse/apts) events"
grep -q '^04/08/2024 @ 18:2[01] -> 04/08/2024 @ 18:2[01].*|Mond: Neumond$' calcurse/apts || fail "new moon in calcurse"

# Bad input: status 2 and a message naming the problem, no file.
expect_status() {
  local want=$1 pattern=$2; shift 2
  set +e; "$tool" ics "$@" --dir "$data" >out.txt 2>err.txt; local got=$?; set -e
  [ "$got" -eq "$want" ] || { cat err.txt; fail "status $got for $*"; }
  grep -q -- "$pattern" err.txt || { cat err.txt; fail "message '$pattern' for $*"; }
}
expect_status 2 "lies after --to" --from 2024-04-10 --to 2024-04-01 --out bad1.ics
expect_status 2 "unknown kind 'eclipse' (known: twilights,.*,declinations,eclipses,fotolicht; all for every kind)" --from 2024-04-01 --to 2024-04-02 --kinds phases,eclipse --out bad2.ics
expect_status 2 "unknown kind '' (known: twilights" --from 2024-04-01 --to 2024-04-02 --kinds '' --out bad6.ics
expect_status 2 "unknown kind 'ALL'" --from 2024-04-01 --to 2024-04-02 --kinds ALL --out bad7.ics
expect_status 2 "unknown kind 'bogus'" --from 2024-04-01 --to 2024-04-02 --kinds all,bogus --out bad8.ics
expect_status 2 "outside 1960-01-01 … 2059-12-31" --from 1959-12-31 --to 1960-01-02 --out bad3.ics
expect_status 2 "outside 1960-01-01 … 2059-12-31" --from 2059-12-01 --to 2060-01-01 --out bad4.ics
expect_status 2 "not a date" --from 2024-02-30 --to 2024-03-01 --out bad5.ics
for f in bad1.ics bad2.ics bad3.ics bad4.ics bad5.ics bad6.ics bad7.ics bad8.ics; do [ ! -e "$f" ] || fail "$f written"; done

# Across two periods (2012-2022 made first): each day's sunrise once, no UID twice.
"$tool" ics --from 2021-12-30 --to 2022-01-02 --kinds sun --dir "$data" --out edge.ics 2>edge.log \
  || { cat edge.log; fail "ics across periods"; }
[ "$(grep -c '^SUMMARY:Sonne: Aufgang' edge.ics)" -eq 4 ] || fail "sunrises across the periods"
[ -z "$(grep '^UID:' edge.ics | sort | uniq -d)" ] || fail "an event twice across the periods"

# An unwritable path: status 1, the path named, nothing left behind.
expect_status 1 "$work/missing/x.ics" --from 2024-04-01 --to 2024-04-02 --out "$work/missing/x.ics"
[ ! -e missing ] || fail "folder created"
mkdir locked && cp one.ics locked/keep.ics && chmod a-w locked
if [ "$(id -u)" -ne 0 ]; then
  expect_status 1 "locked/keep.ics" --from 2024-04-01 --to 2024-04-02 --out "$work/locked/keep.ics"
  cmp -s one.ics locked/keep.ics || fail "old file changed"
fi
chmod u+w locked
[ "$(ls locked)" = "keep.ics" ] || fail "temporary file left: $(ls locked)"

# The eclipse group: the partial solar eclipse of 2026-08-12 at sunset, one
# event from its first contact to its last, its contacts described.
"$tool" ics --from 2026-08-12 --to 2026-08-12 --kinds eclipses --dir "$data" --out eclipse.ics 2>tool.log ||
  { cat tool.log; fail "ics eclipses"; }
/usr/bin/python3 - <<'PY' || fail "eclipse event"
import datetime as dt, icalendar
events = list(icalendar.Calendar.from_ical(open("eclipse.ics", "rb").read()).walk("VEVENT"))
assert len(events) == 1, len(events)
e = events[0]
utc = dt.timezone.utc
assert str(e["SUMMARY"]) == "Sonne: Sonnenfinsternis (partiell)", e["SUMMARY"]
assert abs(e["DTSTART"].dt - dt.datetime(2026, 8, 12, 17, 24, 30, tzinfo=utc)) <= dt.timedelta(seconds=5), e["DTSTART"].dt
assert abs(e["DTEND"].dt - dt.datetime(2026, 8, 12, 19, 9, 3, tzinfo=utc)) <= dt.timedelta(seconds=5), e["DTEND"].dt
d = str(e["DESCRIPTION"])
for part in ("92 %", "Sonne geht während der Finsternis unter", "C1: 2026-08-12  19:24:3", "maximum: 2026-08-12  20:18:1", "C4: 2026-08-12  21:09:0"):
    assert part in d, (part, d)
PY

# The eclipses command: the same eclipse with its contacts; the bad ranges.
"$tool" eclipses --from 2026-08-12 --to 2026-08-13 --dir "$data" >eclipses.txt 2>tool.log || { cat tool.log; fail "eclipses"; }
grep -q "^2026-08-12  Sonne Sonnenfinsternis (partiell), 92 %, obscuration 0.90., (Sonne geht während der Finsternis unter)\|^2026-08-12  Sonne Sonnenfinsternis (partiell), 92 %, obscuration 0.90. (Sonne geht während der Finsternis unter)" eclipses.txt ||
  { cat eclipses.txt; fail "eclipse title"; }
grep -q "^  C1        2026-08-12 19:24:3[01]  17:24:3[01] UT  alt 12.6°$" eclipses.txt || { cat eclipses.txt; fail "C1 line"; }
grep -q "^  maximum   2026-08-12 20:18:1[01]  18:18:1[01] UT  alt 3.8°  mag 0.922$" eclipses.txt || { cat eclipses.txt; fail "maximum line"; }
expect_eclipses() {
  local pattern=$1; shift
  set +e; "$tool" eclipses "$@" --dir "$data" >out.txt 2>err.txt; local got=$?; set -e
  [ "$got" -eq 2 ] || { cat err.txt; fail "status $got for eclipses $*"; }
  grep -q -- "$pattern" err.txt || { cat err.txt; fail "message '$pattern' for eclipses $*"; }
  [ ! -s out.txt ] || fail "output for eclipses $*"
}
expect_eclipses "lies after --to" --from 2026-08-13 --to 2026-08-12
expect_eclipses "outside 1960-01-01 … 2059-12-31" --from 1959-12-31 --to 1960-01-02
expect_eclipses "outside 1960-01-01 … 2059-12-31" --from 2059-12-01 --to 2060-01-01
expect_eclipses "--from is required" --to 2026-08-12
echo ok
