// The day chart: one chosen day as a vertical 24-hour timeline on a
// 2500 x 2200 bitmap (`Img`). 00:00 lies at the top (y = 100), 24:00 at the
// bottom (y = 2100); the plot spans x = 100 … 900, the event list x = 995 …
// 2500. Layers, in drawing order: background, Sun bands and noon line, the
// Moon's and the planets' rise-to-set bars with their pictures, the time
// scale, the title, the day's event list.
//
// The renderer knows no window: the window hands it a hook for the copy of
// the finished chart to the screen.
#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "events/event_kinds.h"
#include "events/event_table.h"
#include "events/phase_table.h"
#include "pictures/image_list.h"
#include "timecalc/zone_rule.h"

class QPainter;

namespace vk {

inline constexpr int kChartWidth = 2500;
inline constexpr int kChartHeight = 2200;

// The picture sets the chart draws from; a null pointer leaves that set's
// pictures out.
struct tChartPictures {
  const ImageList* MOO = nullptr;
  const ImageList* MER = nullptr;
  const ImageList* VEN = nullptr;
  const ImageList* List1 = nullptr;
};

// The shipped sets (ImageList_MOO … ImageList1). Returns: pointers to the
// sets that could be loaded, null for those whose resources are missing.
// Never throws.
tChartPictures ShippedChartPictures();

// The Sun's nine values of the chosen day, decimal hours of local time, in
// the order of the lookup. Empty when no such event lies at or after the
// start of the chosen day.
enum SunEvent : int { MAstrD = 0, MNautD, MBurgD, Aufgang, Untergang, ABurgD, ANautD, AAstrD, WahrerMittag };
inline constexpr int kSunEventCount = 9;
inline constexpr std::array<EventKind, kSunEventCount> SunEventKinds = {
    EventKind::MAstrD, EventKind::MNautD,  EventKind::MBurgD, EventKind::Aufgang,     EventKind::Untergang,
    EventKind::ABurgD, EventKind::ANautD, EventKind::AAstrD, EventKind::WahrerMittag};
using tSunTimes = std::array<std::optional<double>, kSunEventCount>;

// Which picture set a body's picture comes from.
enum class PictureSet { MOO, MER, VEN, List1 };

// The constants of one body's bar, text line and picture.
struct tBodyChart {
  Body body;                 // the body (its name is the event table's key)
  const char* prefix;        // text line prefix ("MOO A: ")
  bool set_from_start;       // true: set looked up from index 1; false: after the rise
  int bar_x1, bar_x2;        // bar from x to x (pixels)
  QColor colour;             // bar colour
  PictureSet pictures;       // picture set
  int fixed_index;           // picture index, or -1: the phase day's index
  int picture_x;             // left edge of the picture (pixels)
  int picture_offset;        // top edge above the rise line (pixels)
  ImageDrawStyle style;      // drawing style of the picture
};

// Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune.
inline constexpr int kChartBodyCount = 8;
extern const std::array<tBodyChart, kChartBodyCount> Body_Charts;

// The colours the chart is drawn in. The screen's: black ground, light
// lines and text. Print colours ("Druckfarben"): every colour through
// Print_Colour, so a light ground with dark lines and text, the bands and
// bars apart by hue as on the screen.
struct tChartPalette {
  QColor ground;                          // the morning half, the whole width
  QColor afternoon_plot;                  // the afternoon, left of the scale
  QColor afternoon_list;                  // the afternoon, under the list
  std::array<QColor, 4> levels;           // the Sun above -18°, -12°, -6°, the horizon
  QColor noon;                            // the true-noon line
  QColor golden_hour, blue_hour;          // translucent, over the bands
  std::array<QColor, kChartBodyCount> bars;  // the bodies' bars and swatches, as Body_Charts
  QColor ink;                             // scale, title, list texts, legend names
  QColor marker;                          // the list's markers and leader lines
  QColor now;                             // the present-time line
  std::array<QColor, 3> headlines;        // lunar eclipse, solar eclipse, occultation
  bool print = false;                     // the phase pictures in print colours too
  // The bar colour of `body` (one of Body_Charts, found by its body).
  QColor bar(const tBodyChart& body) const;
};
const tChartPalette& Screen_Palette();
const tChartPalette& Print_Palette();

// The print colour of a screen colour: hue, saturation and alpha kept, the
// lightness (HSL) turned over, so black becomes white and white black.
// Never fails.
QColor Print_Colour(const QColor& colour);

// The print colours of a picture: Print_Colour for each pixel. Never fails.
QImage Print_Colours_Image(const QImage& img);

// The picture sets with their pictures in print colours (made once per set
// and kept; the masks unchanged). Never fails.
tChartPictures Print_Chart_Pictures(const tChartPictures& pictures);

// One body's next rise and set. Rise_h in [0, 24); Set_h has 24 added when
// it is smaller than Rise_h. A missing event leaves its value empty and its
// text "--".
struct tRiseSet {
  std::optional<double> Rise_h;
  std::optional<double> Set_h;
  std::string Rise_Text = "--";
  std::string Set_Text = "--";
  std::string line;          // prefix + Rise_Text + "  U: " + Set_Text

  // The bar of the chosen day. Regular (the next rise lies in the day and the
  // set less than a day after it): from Rise_h to Set_h, the picture at
  // Rise_h. Otherwise the bar covers Up_Spans and the picture stands at
  // Picture_h (none when the body stays below the horizon all day).
  bool Bar_Regular = true;
  std::vector<std::pair<double, double>> Up_Spans;  // hours of the day, from <= to, within 0 … 24
  std::optional<double> Picture_h;                  // hours of the day
};

// One entry of the day's event list as the chart writes it.
struct tListedEvent {
  int index = 0;             // entry of Event_Tab
  int marker_y = 0;          // row of the event's own time (pixels)
  int label_y = 0;           // row of its label after the push-down (pixels)
  std::string time;          // "hh:mm:ss"
  std::string body;          // the body's name in the language installed
  std::string text;          // event text with its values and note
  bool marked = true;        // false: a line without a row of its own (no marker, no leader line)
};

// The chart's state: the drawing surface, the chosen day, the display flags,
// the re-entrancy guard and the text lines beside the chart.
struct DayChart {
  DayChart();

  QImage Img;                         // 2500 x 2200, Format_RGB32, 96 dpi
  double Sel_JD = 2459580.5;          // chosen day, Julian day of its local 00:00
  std::shared_ptr<const ZoneTable> Zone;  // the site's real zone for the day label; null: classic
  std::uint8_t Show_Daemmerungen = 0;     // list sunrise, sunset and twilights
  std::uint8_t Show_Auf_Untergaenge = 1;  // list rises and sets of Moon and planets
  std::uint8_t Show_Meridian = 0;         // list meridian transits
  std::uint8_t Show_Fotolicht = 0;        // golden and blue hour: bands and list entries
  // The reading aids, all off for the documented chart.
  std::uint8_t Show_Leaders = 0;          // labels spread without overlaps, leader lines to their rows, the day's light in the list
  std::uint8_t Show_Legend = 0;           // the names of the bar columns below the plot
  std::optional<double> Now_Local_JD;     // the present moment (local Julian day): a line on its day; empty: none
  tChartPalette Colours = Screen_Palette();  // Print_Palette(): drawn in print colours
  std::uint8_t Chart_Busy = 0;        // 1 while a rendering runs
  double Site_nLat = 47.5;            // observer's latitude, degrees north (south of 0: phases mirrored)

  std::vector<std::string> Memo1;     // next-rise/next-set lines of the last rendering
  int Memo1_Width = 0;                // pixels: widest line + 10, with the Memo1 font
  int Memo1_Height = 0;               // pixels: 10 x line height + 10
  std::vector<std::string> Light_Lines;  // the Moon's light and the day length (Day_Light_Lines)

  tChartPictures Pictures;            // sets to draw from (all null: no pictures)
  std::function<void(const QImage&)> Copy_To_Screen;  // may be empty

  // What the last rendering found, for the caller to inspect.
  tSunTimes Sun_Times{};
  bool Sun_Regular = true;            // bands drawn from Sun_Times, else from spans
  std::array<tRiseSet, kChartBodyCount> Rise_Sets{};
  std::vector<tListedEvent> Listed_Events;
};

// Row of a minute of the day: round(minute * 2000 / 1440 + 100), halves to
// even. minute: 0 <= minute < 1440 (callers reduce modulo 1440 first).
// Returns: pixels, 100 … 2100. Never fails.
int Chart_Y(double minute);

// Minutes of an hour value (hours) rounded to the nearest integer, halves to
// even. Returns: minutes (0 … 1440 for 0 <= hours < 24). Never fails.
int Hours_To_Minute(double hours);

// Local time of day of a Julian day: ((jd + 0.5) mod 1) * 24.
// Returns: decimal hours in [0, 24). Never fails.
double Time_Of_Day_Hours(double jd);

// "Sonntag" … "Samstag", index 0 … 6, as written in German (the title shows
// them through Chart_Tr).
extern const std::array<const char*, 7> Weekday_Names;

// One of the chart's texts (context "DayChart") in the language installed.
std::string Chart_Tr(const char* text);

// Title text of the chosen day: "2022-01-01  Samstag" ("Saturday" in English) (year without leading
// zeros, month and day two digits, two blanks, the weekday of
// trunc(Sel_JD + 1.500001) mod 7). Never fails.
std::string Chart_Title(double Sel_JD);

// Date-time text "YYYY-MM-DD  hh:mm:ss" of a local Julian day, rounded to the
// whole second first (so the seconds never read 60). Never fails.
std::string Date_Time_Text(double jd);

// Shortest text of a value with up to 15 significant digits, "." as decimal
// point, scientific ("1.5E20", "1E-7") below 1e-5 and from 1e15 on.
std::string Format_General(double value);

// Index of the first entry of Event_Tab, from `from` on, with jd_local >=
// Sel_JD, the given body and event (body or event empty: any). The table must
// be in ascending order of jd_local (the start of the day is found by
// bisection). Returns: the index (1 … Event_Count), or empty when none up to
// Event_Count. Never fails.
std::optional<int> Find_Event(const EventStore& store, int from, double Sel_JD, std::string_view body,
                              std::string_view event);

// Looks up the Sun's nine events at or after the start of the chosen day;
// ABurgD, ANautD and AAstrD get 24 hours added when earlier than Untergang.
// Returns: the values; empty ones for events not found. Never fails.
tSunTimes Find_Sun_Times(const EventStore& store, double Sel_JD);

// Paints the twilight and daylight bands and the true-noon line across x =
// 100 … 900 (pen width 2). A band with a missing end, or a missing noon, is
// left out. Never fails.
void Draw_Sun_Bands(QPainter& painter, const tSunTimes& sun, const tChartPalette& colours = Screen_Palette());

// True when the nine Sun events that Find_Sun_Times takes all belong to the
// chosen day: the three morning twilights, sunrise, true noon and sunset
// before its end, the three evening twilight ends before the next day's noon.
// False on days near the poles (midnight Sun, polar night, twilight all
// night) and when the table ends first. Never fails.
bool Sun_Day_Is_Regular(const EventStore& store, double Sel_JD);

// Where the Sun stands above one level (astronomical, nautical, civil
// twilight, horizon) on a day that is not regular: from `from` to `to`
// (decimal hours of the day; `to` < `from` runs past midnight to the top of
// the chart), all day, or not at all.
struct tSunSpan {
  bool all_day = false;
  std::optional<double> from;
  std::optional<double> to;
};
using tSunSpans = std::array<tSunSpan, 4>;  // astronomical, nautical, civil, horizon

// The spans of the chosen day. For each level: the first morning crossing
// (MAstrD, MNautD, MBurgD, Aufgang) on the day and the first evening crossing
// (AAstrD, ANautD, ABurgD, Untergang) before the next day's noon. A crossing
// without its partner gets one mirrored about true noon, or about the
// midnight opposite, whichever lies nearer (noon: 12:00 when not found).
// Without either, the level is above all day when its next crossing goes
// down, or, when none follows, its last one went up. Never fails.
tSunSpans Find_Sun_Spans(const EventStore& store, double Sel_JD, std::optional<double> noon);

// Paints the spans of a day that is not regular in the colours of
// Draw_Sun_Bands, the outer levels first, then the noon line. Never fails.
void Draw_Sun_Spans(QPainter& painter, const tSunSpans& spans, std::optional<double> noon,
                    const tChartPalette& colours = Screen_Palette());

// The next rise and set of one body and its text line (52 characters when
// both are found), and the bar of the day (Find_Up_Spans when it is not
// regular). Never fails.
tRiseSet Find_Rise_Set(const EventStore& store, double Sel_JD, const tBodyChart& body);

// Where `body` stands above the horizon on the chosen day, from its own rises
// and sets: above at 00:00 when its next crossing from the day's start on is
// a set (with none after: when its last one before was a rise), then
// switching at each of its rises and sets within the day. Where two sets (or
// two rises) follow each other the body only grazed the horizon and the lost
// crossing lay close by: such a crossing, and the last of a run at the
// table's end, is passed over. Sets rs.Up_Spans and rs.Picture_h
// (the first rise in the day, else 00:00 when the body is up then, else
// empty). A body without any rise or set is below all day. Never fails.
void Find_Up_Spans(const EventStore& store, double Sel_JD, Body body, tRiseSet& rs);

// The same for any level `body` crosses upwards in events of `up` and
// downwards in events of `down` (the Sun's MGoldB and AGoldE: above -4°).
// Returns: the spans, hours of the day, from <= to, within 0 … 24, in time
// order; `first_up`, when given, gets the first upward crossing in the day.
// Never fails.
std::vector<std::pair<double, double>> Find_Level_Spans(const EventStore& store, double Sel_JD, Body body,
                                                        EventKind up, EventKind down,
                                                        std::optional<double>* first_up = nullptr);

// The golden hours (the Sun's centre between -4° and +6°) and blue hours
// (between -6° and -4°) of the chosen day, hours of the day in time order.
struct tLightSpans {
  std::vector<std::pair<double, double>> golden, blue;
};
// Taken from the Sun's crossings of -6°, -4° and +6° (Find_Level_Spans):
// also on days where a level is not crossed at all. Never fails.
tLightSpans Find_Light_Spans(const EventStore& store, double Sel_JD);

// Paints the spans across the plot, x = 100 … 900, as translucent gold and
// blue over the Sun's bands. Never fails.
void Draw_Light_Spans(QPainter& painter, const tLightSpans& spans, const tChartPalette& colours = Screen_Palette());
inline const QColor kGoldenHourColour(255, 200, 60, 110);
inline const QColor kBlueHourColour(40, 110, 255, 120);

// Index (1 … Phase_Count) of the first phase record whose day is >= Sel_JD,
// or empty when the table has none.
std::optional<int> Find_Phase_Day(const PhaseTable& phases, double Sel_JD);

// The body's bar (regular: from rise to set, left out when either is missing;
// otherwise over its Up_Spans), then its picture at the rise or at Picture_h
// (left out without either, without its picture set, or, for a phase picture,
// without a phase record at or after the day). Phase pictures are mirrored
// left to right for latitudes below 0 (site_lat, degrees north). Never fails.
void Draw_Body_Bar(QPainter& painter, const tBodyChart& body, const tRiseSet& rs, const PhaseTable& phases,
                   double Sel_JD, const tChartPictures& pictures, double site_lat = 47.5,
                   const tChartPalette& colours = Screen_Palette());

// Black background, the afternoon a shade lighter (in `colours`). Never fails.
void Draw_Chart_Background(QPainter& painter, const tChartPalette& colours = Screen_Palette());

// Axes, ten-minute, half-hour and hour ticks and the hour labels on both
// sides. Never fails.
void Draw_Time_Scale(QPainter& painter, const tChartPalette& colours = Screen_Palette());

// The event text of one entry: the name (twilights spelt out), the values
// present and the note in parentheses. Never fails.
std::string Event_Text(const tEventData& entry);

// The entries of the chosen day that the flags let through, with their rows
// and label rows. Stops at the first entry from the next day on or at
// Event_Count; the first entry at or after Sel_JD is always taken. Never fails.
// `show_fotolicht` lists the golden and blue hour's bounds.
std::vector<tListedEvent> List_Day_Events(const EventStore& store, double Sel_JD, bool show_daemmerungen,
                                          bool show_auf_untergaenge, bool show_meridian, bool show_fotolicht = false);

// Writes the listed events: a lime "-" at the event's row, then time, body
// and text (without its TAB characters) at the label row; with `leaders`
// the texts start kLeaderTextX - 1015 pixels further right, and a line leads
// from each marker to its label where the two rows differ. Never fails.
void Draw_Day_Events(QPainter& painter, const std::vector<tListedEvent>& listed, bool leaders = false,
                     const tChartPalette& colours = Screen_Palette());

// Reading aids (DayChart::Show_Leaders, Show_Legend, Now_Local_JD).
inline constexpr int kLabelSpacing = 32;   // rows between labels, as the push-down keeps them
inline constexpr int kLabelTop = 30;       // the highest label row: its text starts 6 rows below the top
inline constexpr int kLabelBottom = 2190;  // the lowest: its text ends above the bottom
inline constexpr int kLeaderTextX = 1060;  // where the time starts when leader lines are drawn
inline constexpr int kLegendTop = 2118;    // the legend's swatches; the names below them
inline const QColor kNowColour(255, 60, 60);

// Rows for labels that want the rows `wanted` (ascending): at least
// `spacing` apart (less only when top … bottom cannot hold them all at
// it: then evenly from top to bottom), in the same order, each as near its
// wanted row as the others allow (least squares: a crowded group spreads up
// and down around its rows), within top … bottom. Never fails.
std::vector<int> Spread_Label_Rows(const std::vector<int>& wanted, int spacing, int top, int bottom);
// Sets every label_y from the marker rows by Spread_Label_Rows with the
// constants above. Never fails.
void Spread_Labels(std::vector<tListedEvent>& listed);
// The day's light as lines of the list (index 0, no entry of the table):
// the Moon's illuminated fraction and age at local noon, marked at 12:00
// ("12:00:00  Mond  100.0 % beleuchtet, Alter 14.4 Tage"; "Alter --" before
// the period's first new Moon), when the table holds them; the day length
// as an unmarked first line at kLabelTop ("Sonne  Tageslänge 11:46", with
// "(Polartag)" when the Sun stays up all day, "(Polarnacht)" when it does
// not rise), when the table holds events. Never fails.
std::vector<tListedEvent> Day_Light_Labels(const EventStore& store, double Sel_JD);
// Merges them into `listed` (in the order of their rows, after events of
// the same row). Never fails.
void Add_Day_Light_Labels(std::vector<tListedEvent>& listed, const EventStore& store, double Sel_JD);
// The lime lines from each marker to its label (where the rows differ). Never fails.
void Draw_Leader_Lines(QPainter& painter, const std::vector<tListedEvent>& listed,
                       const tChartPalette& colours = Screen_Palette());
// A swatch of each bar's colour below its column and the body's name under it. Never fails.
void Draw_Legend(QPainter& painter, const tChartPalette& colours = Screen_Palette());
// The row of the present moment on the chosen day; empty when it lies on another day.
std::optional<int> Now_Row(double Sel_JD, double now_local_jd);
// A red line across the plot at the present moment, when it lies on the chosen day. Never fails.
void Draw_Now_Line(QPainter& painter, double Sel_JD, double now_local_jd,
                   const tChartPalette& colours = Screen_Palette());

// Where a body's bar or picture lies on the chart (pixels of the 2500 x
// 2200 surface); `body` indexes Body_Charts.
struct tChartHotspot {
  QRect rect;
  int body;
};
// The bars (widened to at least 16 pixels) and pictures of the last
// rendering, bars before pictures. Never fails.
std::vector<tChartHotspot> Chart_Hotspots(const DayChart& chart);
// The body whose hotspot holds `chart_point` (a picture before a bar);
// empty: none. Never fails.
std::optional<int> Body_At(const std::vector<tChartHotspot>& spots, QPoint chart_point);
// "Mond\nAufgang: 2024-07-19  21:33:10\nUntergang: …" of the last rendering. Never fails.
std::string Body_Tooltip(const DayChart& chart, int body_index);

// Paints every layer of the chosen day with `p`, whose device is taken as a
// 2500 x 2200 surface (a picture, a PDF page or a printer page with a
// matching transformation); fills Memo1 and the inspection fields as
// Render_Day_Chart does. Never fails.
void Paint_Day_Chart(QPainter& p, DayChart& chart, const EventStore& store, const PhaseTable& phases);

// Renders the chosen day onto chart.Img, fills Memo1 and the inspection
// fields, and hands the image to Copy_To_Screen. A call while a rendering is
// running (from Copy_To_Screen) returns false without drawing. Returns: true
// when drawn. Never fails on missing events.
bool Render_Day_Chart(DayChart& chart, const EventStore& store, const PhaseTable& phases);

// What the day refresh writes into the date fields and the summer-time label.
struct tDayFields {
  int Sel_Jahr = 0;
  int Sel_Monat = 0;
  int Sel_Daag = 0;
  std::string Jahr_Text;   // the year without leading zeros ("2022")
  std::string Monat_Text;  // two digits ("03")
  std::string Daag_Text;   // two digits ("07")
  std::string DST_Text;    // "(+01:00 Sommerzeit)" or "(Normalzeit)"; "(AEST, UTC+10:00)" for a real zone
};

// The fields of the chosen day. The label tells whether summer time holds at
// Sel_JD itself (its 00:00 taken as the instant), whatever the zone. Never fails.
tDayFields Day_Fields(double Sel_JD);
// The same under a real zone (null: the classic texts above): the label gives
// the abbreviation and offset in force at local noon of the day,
// "(MESZ, UTC+02:00)" or "(AEST, UTC+10:00)". Never fails.
tDayFields Day_Fields(double Sel_JD, const ZoneTable* zone);

// The day refresh: computes the fields and hands them to `write_fields`
// (may be empty), processes messages, renders the chart, calls `rendered`
// (may be empty) when it was drawn, and processes messages again.
// Returns: the fields. Never fails on missing events.
tDayFields Refresh_Day(DayChart& chart, const EventStore& store, const PhaseTable& phases,
                       const std::function<void(const tDayFields&)>& write_fields,
                       const std::function<void()>& rendered = {});

// Copies `Img` scaled onto the whole of `target` with area averaging
// (halftone). Nothing happens for a null target. Never fails.
void Copy_Chart_To(const QImage& Img, QImage& target);

// Hours the Sun's upper limb stands above the horizon on the chosen day: the
// sum of its spans above (Find_Up_Spans), so sunset - sunrise on a regular
// day, 24 on a polar day and 0 in the polar night. Returns: empty for a table
// without events. Never fails.
std::optional<double> Day_Length_Hours(const EventStore& store, double Sel_JD);

// "hh:mm" (or "hh:mm:ss" with `seconds`) of a span of hours, rounded to the
// minute (second), halves away from zero: 24 hours read "24:00". Never fails.
std::string Hours_Minutes_Text(double hours, bool seconds);

// The lines the text box and the day listing show after the rise and set
// lines: the Moon's illuminated fraction (percent, one decimal) and age
// (days, two decimals; "--" before the period's first new Moon) at local
// noon, when the table holds them, and the day length (hh:mm:ss), when it
// holds events. Never fails.
std::vector<std::string> Day_Light_Lines(const EventStore& store, double Sel_JD);

// Fonts of the chart: title 44 pt, scale 24 pt ("Arial"), event list 24 pt
// ("Arial Narrow"), Memo1 a fixed-pitch face; sizes for a 96-dpi canvas.
QFont Title_Font();
QFont Scale_Font();
QFont List_Font();
QFont Memo_Font();
QFont Legend_Font();  // the legend's names, 16 pt

}  // namespace vk
