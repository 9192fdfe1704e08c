// Everything the computation and the chart share, allocated once.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "ephemeris/ephemeris_stamp.h"
#include "ephemeris/ephemeris_store.h"
#include "events/eclipses.h"
#include "events/event_line.h"
#include "events/event_table.h"
#include "events/interpolation.h"
#include "events/phase_table.h"
#include "events/site.h"

namespace vk {

class BasicTable;     // the basic values of every row, private to the computation
class PeriodMargins;  // the hours around the period's rows, private to the computation

// The hourly records of each range of hours [first, end) in `hours`, counted
// from 00:00 UT of the first day of `period` (negative ones before it), as
// the tables of the periods holding those hours hold them; one range after
// another, each body-major: body b's hour first + i of a range of n hours
// at b × n + i from the range's start. Throws: Error when they cannot be made.
using HourRowsFn =
    std::function<std::vector<tEphemerisData>(const tPeriod& period, std::span<const std::pair<int, int>> hours)>;

struct Almanac {
  Almanac();
  ~Almanac();
  Almanac(const Almanac&) = delete;
  Almanac& operator=(const Almanac&) = delete;

  EphemerisStore ephemeris;
  std::unique_ptr<BasicTable> basic;  // never null
  // The rows of the hours around the period's and their values; never null.
  std::unique_ptr<PeriodMargins> margins;
  // Where the rows around a period come from (the data folder's coefficient
  // file); empty: nowhere, and the events are the period's rows' alone. With
  // them, the events of the period's first and last local day are complete
  // in zones far from UT (the table has them, the written log does not).
  HourRowsFn hour_rows;
  EventStore events;
  PhaseTable phases;
  Site site;
  Interpolation interpolation = Interpolation::Precise;  // of the event instants
  // The golden and blue hours' bounds are computed into the table too (the
  // Sun's crossings of -4° and +6°; they lengthen a site change by about a
  // fifth, so only when something shows them).
  bool photo_light = false;
  // The period whose tables the computation loads (ComputeSiteEvents); the
  // tables and events in force are of ephemeris.period().
  tPeriod period = kDocumentedPeriod;
  // The last log computed for the site, with the records the table is filled from.
  EventLines lines;
  // The files that ephemeris and the prepared basic values hold; empty: none or not all.
  std::optional<EphemerisStamp> prepared;
  // The phase file that phases holds; empty: none, or its reading failed.
  std::optional<FileStamp> phases_read;
  // A phase table read by the last computation, or why its reading failed,
  // for TakeSiteEvents to put in force.
  struct NextPhases {
    std::unique_ptr<PhaseTable> table;
    std::optional<FileStamp> stamp;
    std::exception_ptr error;
  };
  std::optional<NextPhases> next_phases;
  // The period's lunar eclipses and close approaches, found once per
  // loading of the tables; empty: not yet.
  std::optional<GlobalHeadlines> global_headlines;
  // The eclipses and occultations the last computation found, for
  // TakeSiteEvents to put in force with the table (events.headlines).
  SiteHeadlines next_headlines;
  // The Moon's light of each day the last computation found, for
  // TakeSiteEvents to put in force with the table (events.moon_days).
  tMoonDays next_moon_days;
};

}  // namespace vk
