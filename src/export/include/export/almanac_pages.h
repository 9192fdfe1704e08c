// The almanac's printed pages: the year table of sunrise and sunset, the
// twilights and the Moon's rise and set (12 month columns by 31 day rows,
// vector PDF on white paper, plain text or CSV), and the month page with one
// row per day and the month's notable events.
#pragma once
#include <QColor>
#include <QPageSize>
#include <QRectF>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "events/event_table.h"
#include "events/interpolation.h"
#include "events/moon_light.h"
#include "events/site.h"

class QPainter;

namespace vk {

enum class TableFileType { Pdf, Csv, Txt };

// The type by the file's ending (.pdf, .csv, .txt, any case). Returns:
// nothing for any other ending.
std::optional<TableFileType> Table_File_Type(const std::filesystem::path& path);

// What one day of the table holds, in local Julian days; empty where the day
// has no such event. Where a kind happens twice in a day, the first counts.
struct tAlmanacDay {
  double day_jd = 0;  // Julian day of the local 00:00
  std::optional<double> rise, set;                     // the Sun's upper limb
  std::optional<double> civil_begin, civil_end;        // the Sun's centre at -6 degrees
  std::optional<double> nautical_begin, nautical_end;  // -12 degrees
  std::optional<double> astro_begin, astro_end;        // -18 degrees
  std::optional<double> moon_rise, moon_set;
  std::optional<double> day_length_h;  // hours the Sun's upper limb is up (Day_Length_Hours)
  std::optional<tMoonLight> moon;      // at local noon
  std::string phase;                   // the Moon's phase that day ("Vollmond"), or empty
};

// The day `day_jd` of the table in force. Never fails.
tAlmanacDay Almanac_Day(const EventStore& store, double day_jd);

// One of the month's notable events: the Moon's phases, the seasons, the
// eclipses and occultations, conjunctions with the Sun, greatest elongations
// and oppositions.
struct tNotableEvent {
  double jd_local = 0;
  std::string body;  // in the language installed
  std::string text;  // in the language installed
};

// The notable events of the days [first_jd, last_jd] in time order. Never fails.
std::vector<tNotableEvent> Notable_Events(const EventStore& store, double first_jd, double last_jd);

// The heading every page and table carries: the place (its name when it has
// one, and the coordinates), the zone with its summer-time convention, and
// how the instants were computed.
struct tPageHeading {
  std::string place;
  std::string zone;
  std::string mode;
};

// The heading of `site` named `place_name` (may be empty). Never fails.
tPageHeading Page_Heading(const std::string& place_name, const Site& site, Interpolation mode);

inline constexpr int kPageDpi = 720;         // device units per inch of the printed pages
inline constexpr double kPageMargin = 12.0;  // mm around a page's content

// Paints `title` (may be empty: its line stays free) and the heading's three
// lines in `ink` from the top of `page` (device units of a 720-dpi page),
// inside a 12 mm margin. Returns: the y (mm) below them. Never fails.
double Paint_Heading(QPainter& p, const QRectF& page, const QString& title, const tPageHeading& h,
                     QColor ink = Qt::black);

// "hh:mm" of a local instant on the day `day_jd`: the time rounded to the
// second as the day listing shows it (23:59:59 at most), then to the nearest
// minute, halves up ("24:00" for 23:59:30 and later). Never fails.
std::string Minute_Text(double jd_local, double day_jd);

// Which twilight pages the year table adds after the civil one.
struct tYearTableOptions {
  bool nautical = false;
  bool astronomical = false;
};

// The paper of the system: Letter where the locale measures in US units, A4 elsewhere.
QPageSize System_Paper();

// The year's days (every day of the year, in order) as CSV: the heading
// lines, a blank line, a header row, then one row per day with date, the
// Sun's, twilights' and the Moon's times (hh:mm, empty where none), day
// length, illuminated fraction (percent) and age (days). Never fails.
std::string Year_Table_Csv(const std::vector<tAlmanacDay>& days, const tPageHeading& heading);

// The year table as plain text: one block per page of the PDF, separated by
// a form feed. Never fails.
std::string Year_Table_Text(int year, const std::vector<tAlmanacDay>& days, const tPageHeading& heading,
                            const tYearTableOptions& options);

// The year table as a vector PDF on `paper` (landscape): sunrise and sunset,
// the civil twilights, the nautical and astronomical ones when asked, then
// the Moon's rise and set. Written under a temporary name and renamed into
// place; the same input gives the same bytes.
// Throws: Error naming `path` when it cannot be written; no file is left then.
void Save_Year_Table_Pdf(const std::filesystem::path& path, int year, const std::vector<tAlmanacDay>& days,
                         const tPageHeading& heading, const tYearTableOptions& options, const QPageSize& paper);

// The month page as a vector PDF on `paper` (portrait): one row per day
// (`days`, the month's days in order) and the month's notable events. As
// Save_Year_Table_Pdf. Throws: as Save_Year_Table_Pdf.
void Save_Month_Page_Pdf(const std::filesystem::path& path, const std::vector<tAlmanacDay>& days,
                         const std::vector<tNotableEvent>& events, const tPageHeading& heading,
                         const QPageSize& paper);

// The month page as plain text: the heading, one row per day, the events. Never fails.
std::string Month_Page_Text(const std::vector<tAlmanacDay>& days, const std::vector<tNotableEvent>& events,
                            const tPageHeading& heading);

// Writes the year's or month's days to `path` by its ending (Year_Table_*
// for a year, the month page for a month). Throws: Error naming `path` for
// another ending or when it cannot be written; no file is left then.
void Save_Year_Table(const std::filesystem::path& path, int year, const std::vector<tAlmanacDay>& days,
                     const tPageHeading& heading, const tYearTableOptions& options);
void Save_Month_Page(const std::filesystem::path& path, const std::vector<tAlmanacDay>& days,
                     const std::vector<tNotableEvent>& events, const tPageHeading& heading);

}  // namespace vk
