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
#include "events/almanac.h"

namespace vk {

inline constexpr double kFirstDay = 2459580.5;         // 2022-01-01
inline constexpr double kLastDay = 2463230.5;          // 2031-12-30
inline constexpr double kFirstDayDownKey = 2459581.5;  // the Down key stops a day later

// What the event list shows beside the chart.
struct DisplayFlags {
  bool twilights = false;  // sunrise, sunset and the twilights
  bool rises = true;       // rises and sets of the Moon and the planets
  bool transits = false;   // meridian transits
};

// Lives on the thread that made it (the window's); every method is called
// there, and every signal comes there.
class Session : public QObject {
  Q_OBJECT

 public:
  // `data_dir`: the nine binary files and the phase table; `log_dir`: where
  // the event log is written (data_dir when empty).
  Session(std::filesystem::path data_dir, std::filesystem::path log_dir, QObject* parent = nullptr);
  // Cancels a running recomputation and waits for it to end; its result is dropped.
  ~Session() override;

  // What the chart shows: the table, phases, site and mode of the last
  // recomputation taken. Changes only when eventsChanged is told.
  const Almanac& In_Force() const { return *almanac_; }
  // The site and mode last asked for: what the fields show and the close
  // saves; In_Force() has them once their recomputation is taken.
  const Site& Site_Asked() const { return site_; }
  Interpolation Mode_Asked() const { return mode_; }
  // The chosen day: Julian day of its local 00:00, inside kFirstDay … kLastDay.
  double Day() const { return day_; }
  const DisplayFlags& Flags() const { return flags_; }
  // True from a recomputation's request until its result (or a newer one's) is taken or has failed.
  bool Computing() const { return answered_ < asked_; }
  // True while the worker computes or writes a log. Any thread.
  bool Working() const { return Computing() || worker_.Busy(); }
  // The event log's path.
  std::filesystem::path Log_Path() const;

  // Makes `jd` (clamped to kFirstDay … kLastDay) the chosen day; dayChanged.
  void Set_Day(double jd);
  // Moves the chosen day by whole years, months and days (calendar
  // arithmetic, so 31 January + 1 month is 3 March), clamped to the period;
  // a Down key's step stops at kFirstDayDownKey. dayChanged.
  void Step_Day(int years, int months, int days, double first = kFirstDay);
  void Set_Flags(const DisplayFlags& flags);  // flagsChanged
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
  // A recomputation, or the writing of its log, failed with `text`; the table in force stays.
  void failed(const QString& text);
  // The newest recomputation has ended (taken or failed): Computing() is false.
  // After a table is taken, told just before eventsChanged, so that a request
  // made here starts on the worker while the chart is drawn.
  void idle();

 private:
  void Computed(std::uint64_t generation, bool complete, const Site& site, Interpolation mode, const QString& error);
  void Write_Log(std::uint64_t generation);

  std::filesystem::path data_dir_, log_dir_;
  std::unique_ptr<Almanac> almanac_;
  Site site_;
  Interpolation mode_ = Interpolation::Precise;
  double day_ = kFirstDay;
  DisplayFlags flags_;
  std::atomic<std::uint64_t> asked_{0};  // the newest recomputation asked for (the worker reads it)
  std::uint64_t answered_ = 0;  // the newest one taken, dropped or failed
  SerialWorker worker_;         // last: it ends before what its jobs use
};

}  // namespace vk
