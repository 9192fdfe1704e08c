#include "session/session.h"

#include <QMetaObject>
#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "base/error.h"
#include "base/platform.h"
#include "events/recompute.h"
#include "tables/exporter.h"
#include "tables/period_tables.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString Describe(const std::exception_ptr& e) {
  try {
    std::rethrow_exception(e);
  } catch (const Error& error) {
    return QString::fromStdString(error.describe());
  } catch (const std::exception& error) {
    return QString::fromUtf8(error.what());
  } catch (...) {
    return QStringLiteral("unknown error");
  }
}

}  // namespace

Session::Session(std::filesystem::path data_dir, std::filesystem::path log_dir, QObject* parent,
                 std::filesystem::path cache_dir)
    : QObject(parent),
      data_dir_(std::move(data_dir)),
      log_dir_(std::move(log_dir)),
      cache_dir_(cache_dir.empty() ? UserCacheDir() : std::move(cache_dir)),
      almanac_(std::make_unique<Almanac>()) {
  // The hours around each period, so that its first and last local day are complete.
  almanac_->hour_rows = ephemgen::HourRowsOfFolder(data_dir_);
  try {
    span_ = ephemgen::DataSpanOfFolder(data_dir_);
  } catch (...) {
    span_error_ = Describe(std::current_exception());
  }
}

Session::~Session() { worker_.Cancel(); }

std::filesystem::path Session::Log_Path() const { return EventLogPath(data_dir_, log_dir_, period_); }

void Session::Set_Day(double jd) {
  day_ = std::clamp(jd, First_Day(), Last_Day());
  Day_Moved();
}

void Session::Step_Day(int years, int months, int days, double margin) {
  const CalendarTime d = JDToCalendar(day_);
  const double jd = CalendarToJD(d.year + years, d.month + months, d.day + days, 0, 0, 0);
  day_ = years + months + days > 0 ? std::min(jd, Last_Day()) : std::max(jd, First_Day() + margin);
  Day_Moved();
}

void Session::Day_Moved() {
  emit dayChanged();
  const tPeriod period = PeriodOfDay(day_, span_);
  if (period == period_) return;
  period_ = period;
  if (asked_ == 0) return;  // the first recomputation is still to be asked for
  Recompute();
}

void Session::Cancel_Making() {
  if (Computing()) worker_.Cancel();
}

void Session::Set_Flags(const DisplayFlags& flags) {
  // The golden and blue hours are computed only while they are shown: the
  // table in force lacks them until a recomputation with them.
  const bool light_wanted = flags.fotolicht && !flags_.fotolicht;
  flags_ = flags;
  emit flagsChanged();
  if (light_wanted && asked_ != 0) Recompute();
}

void Session::Set_Site(const Site& site) { site_ = site; }

void Session::Set_Mode(Interpolation mode) { mode_ = mode; }

void Session::Recompute() {
  const std::uint64_t generation = ++asked_;
  // The running recomputation is overtaken, and a log not written yet would be
  // replaced by this one's.
  worker_.Cancel();
  worker_.Post([this, generation, site = site_, mode = mode_, period = period_,
                light = flags_.fotolicht](std::stop_token stop) {
    const ProgressFn progress = [this, generation](std::string_view text, StatusColour colour) {
      QMetaObject::invokeMethod(
          this, [this, generation, t = Text(text), colour] { if (generation == asked_) emit status(t, colour); },
          Qt::QueuedConnection);
    };
    bool made = false;  // the period's tables are being made: the bar is shown
    const auto share = [this, generation, &made](double done) {
      made = done >= 0;
      QMetaObject::invokeMethod(
          this, [this, generation, done] { if (generation == asked_) emit making(done); }, Qt::QueuedConnection);
    };
    bool complete = false;
    QString error;
    try {
      const std::filesystem::path dir = ephemgen::PeriodTablesDir(data_dir_, cache_dir_, period, share, stop);
      almanac_->period = period;
      almanac_->photo_light = light;
      complete = ComputeSiteEvents(*almanac_, site, mode, dir, progress, stop);
    } catch (const ephemgen::Cancelled&) {
      complete = false;
    } catch (...) {
      error = Describe(std::current_exception());
    }
    if (made) share(-1);
    QMetaObject::invokeMethod(
        this, [=, this] { Computed(generation, complete, site, mode, period, error); }, Qt::QueuedConnection);
  });
}

// On the window's thread. A newer request means the worker has started on it
// (or will): its lines are no longer this result's, which is dropped.
void Session::Computed(std::uint64_t generation, bool complete, const Site& site, Interpolation mode,
                       const tPeriod& period, const QString& error) {
  if (generation != asked_) return;
  answered_ = generation;
  if (!error.isEmpty() || !complete) {
    // Failed or cancelled (Cancel_Making; the destructor too): the chosen day
    // goes back into the period in force, where the window stays usable.
    const tPeriod& in_force = almanac_->ephemeris.period();
    if (!(period_ == in_force) && almanac_->events.Event_Count > 0) {
      period_ = in_force;
      day_ = std::clamp(day_, std::max(in_force.first_jd(), First_Day()), std::min(in_force.end_jd() - 1, Last_Day()));
      emit dayChanged();
    }
    if (!error.isEmpty()) {
      emit status(error, StatusColour::Red);
      emit failed(error);
    }
    emit idle();
    return;
  }
  QString take_error;
  try {
    TakeSiteEvents(*almanac_, site, mode, EventLogPath(data_dir_, log_dir_, period));
  } catch (...) {
    take_error = Describe(std::current_exception());
  }
  emit status(QStringLiteral("Done."), StatusColour::ButtonFace);
  // Told before the chart is drawn and the log queued: a held button's next
  // request runs on the worker while this table's chart is drawn, and this
  // log, then stale, is skipped. The worker's computation does not touch the
  // table in force.
  emit idle();
  emit eventsChanged();
  if (!take_error.isEmpty()) {
    emit status(take_error, StatusColour::Red);
    emit failed(take_error);
  }
  Write_Log(generation);
}

// The log of the table in force, written on the worker after the chart is
// shown. Skipped when a newer recomputation was asked for before it started
// (that one's log replaces it); once started, the newer one waits for it on
// the worker, so the table it writes from stays as it is.
void Session::Write_Log(std::uint64_t generation) {
  const std::filesystem::path path = EventLogPath(data_dir_, log_dir_, almanac_->ephemeris.period());
  worker_.Post([this, generation, path](std::stop_token) {
    if (generation != asked_.load()) return;
    try {
      WriteSiteLog(*almanac_, path);
    } catch (...) {
      const QString error = Describe(std::current_exception());
      QMetaObject::invokeMethod(
          this,
          [this, generation, error] {
            if (generation != asked_) return;
            emit status(error, StatusColour::Red);
            emit failed(error);
          },
          Qt::QueuedConnection);
    }
  });
}

}  // namespace vk
