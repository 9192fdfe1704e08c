// The session behind the window: the site asked for and the almanac in force,
// the chosen day, the display flags, and the one worker that recomputes. No
// widgets: the window is a view that gives it commands and shows what its
// signals tell.
#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "base/progress.h"
#include "base/serial_worker.h"
#include "ephemeris/period.h"
#include "events/almanac.h"

namespace vk {

// The Down key stops a day after the span's first day.
inline constexpr double kDownKeyMargin = 1.0;

// What the event list shows beside the chart.
struct DisplayFlags {
  bool twilights = false;  // sunrise, sunset and the twilights
  bool rises = true;       // rises and sets of the Moon and the planets
  bool transits = false;   // meridian transits
  bool fotolicht = false;  // golden and blue hour: bands and their bounds
  // The chart's reading aids.
  bool leaders = true;     // labels without overlaps, leader lines to their rows
  bool legend = true;      // the names of the bar columns
  bool now_line = true;    // the present moment on today's chart
};

// Lives on the thread that made it (the window's); every method is called
// there, and every signal comes there.
class Session : public QObject {
  Q_OBJECT

 public:
  // `data_dir`: the nine binary files and the phase table of the documented
  // decade, and the coefficients the other periods are made from; `log_dir`:
  // where the event logs are written (data_dir when empty); `cache_dir`: where
  // the tables of the other periods are made (UserCacheDir() when empty).
  // A damaged coefficient file leaves the documented decade's span and its
  // message in Span_Error().
  Session(std::filesystem::path data_dir, std::filesystem::path log_dir, QObject* parent = nullptr,
          std::filesystem::path cache_dir = {});
  // Cancels a running recomputation and waits for it to end; its result is dropped.
  ~Session() override;

  // What the chart shows: the table, phases, site and mode of the last
  // recomputation taken. Changes only when eventsChanged is told.
  const Almanac& In_Force() const { return *almanac_; }
  // The site and mode last asked for: what the fields show and the close
  // saves; In_Force() has them once their recomputation is taken.
  const Site& Site_Asked() const { return site_; }
  Interpolation Mode_Asked() const { return mode_; }
  // The days the data cover, and why only the documented decade's when the
  // coefficient file was refused (empty otherwise).
  const tDataSpan& Span() const { return span_; }
  double First_Day() const { return span_.first_jd(); }
  double Last_Day() const { return span_.last_jd(); }
  const QString& Span_Error() const { return span_error_; }
  // The period of the chosen day, whose tables the recomputation uses.
  const tPeriod& Period_Asked() const { return period_; }
  // The chosen day: Julian day of its local 00:00, inside First_Day() … Last_Day().
  double Day() const { return day_; }
  const DisplayFlags& Flags() const { return flags_; }
  // True from a recomputation's request until its result (or a newer one's) is taken or has failed.
  bool Computing() const { return answered_ < asked_; }
  // True while the worker computes or writes a log. Any thread.
  bool Working() const { return Computing() || worker_.Busy(); }
  // The event log's path (of the period asked for).
  std::filesystem::path Log_Path() const;

  // Makes `jd` (clamped to First_Day() … Last_Day()) the chosen day;
  // dayChanged. A day of another period recomputes (Recompute).
  void Set_Day(double jd);
  // Moves the chosen day by whole years, months and days (calendar
  // arithmetic, so 31 January + 1 month is 3 March), clamped to the span;
  // a step back stops at First_Day() + `margin` (a Down key's: kDownKeyMargin).
  // dayChanged; a day of another period recomputes.
  void Step_Day(int years, int months, int days, double margin = 0);
  // Stops the making of a period's tables: the chosen day goes back into the
  // period in force (dayChanged), no table of the other period is left.
  void Cancel_Making();
  // flagsChanged; switching the golden and blue hours on recomputes (they are
  // computed only while shown).
  void Set_Flags(const DisplayFlags& flags);
  // The site (latitude, longitude, zone) and the mode asked for; Recompute() computes them.
  void Set_Site(const Site& site);
  void Set_Mode(Interpolation mode);
  // Recomputes the site and mode asked for on the worker. A recomputation
  // still running is cancelled, and only the newest one's result is taken:
  // then eventsChanged, and the log is written on the worker afterwards.
  void Recompute();

 signals:
  void dayChanged();
  void flagsChanged();
  // A new table is in force (In_Force() changed); the chart should be drawn again.
  void eventsChanged();
  // Progress of the recomputation asked for last: "Computing basic values... <b>"
  // on yellow, "Done." on the button face.
  void status(const QString& text, vk::StatusColour colour);
  // The tables of a period are being made: the share done, 0 … 1; making(-1)
  // when the making has ended (made, cancelled or failed).
  void making(double share);
  // A recomputation, or the writing of its log, failed with `text`; the table in force stays.
  void failed(const QString& text);
  // The newest recomputation has ended (taken or failed): Computing() is false.
  // After a table is taken, told just before eventsChanged, so that a request
  // made here starts on the worker while the chart is drawn.
  void idle();

 private:
  void Computed(std::uint64_t generation, bool complete, const Site& site, Interpolation mode, const tPeriod& period,
                const QString& error);
  void Day_Moved();  // after day_ changed: dayChanged, and a recomputation for another period
  void Write_Log(std::uint64_t generation);

  std::filesystem::path data_dir_, log_dir_, cache_dir_;
  tDataSpan span_{kDocumentedPeriod.first_year, kDocumentedPeriod.end_year};
  QString span_error_;
  tPeriod period_ = kDocumentedPeriod;  // of the chosen day
  std::unique_ptr<Almanac> almanac_;
  Site site_;
  Interpolation mode_ = Interpolation::Precise;
  double day_ = kDocumentedPeriod.first_jd();
  DisplayFlags flags_;
  std::atomic<std::uint64_t> asked_{0};  // the newest recomputation asked for (the worker reads it)
  std::uint64_t answered_ = 0;  // the newest one taken, dropped or failed
  SerialWorker worker_;         // last: it ends before what its jobs use
};

}  // namespace vk
