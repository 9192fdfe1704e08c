#include "session/session.h"

#include <QMetaObject>
#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "base/error.h"
#include "events/recompute.h"
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

Session::Session(std::filesystem::path data_dir, std::filesystem::path log_dir, QObject* parent)
    : QObject(parent),
      data_dir_(std::move(data_dir)),
      log_dir_(std::move(log_dir)),
      almanac_(std::make_unique<Almanac>()) {}

Session::~Session() { worker_.Cancel(); }

std::filesystem::path Session::Log_Path() const { return EventLogPath(data_dir_, log_dir_); }

void Session::Set_Day(double jd) {
  day_ = std::clamp(jd, kFirstDay, kLastDay);
  emit dayChanged();
}

void Session::Step_Day(int years, int months, int days, double first) {
  const CalendarTime d = JDToCalendar(day_);
  const double jd = CalendarToJD(d.year + years, d.month + months, d.day + days, 0, 0, 0);
  day_ = years + months + days > 0 ? std::min(jd, kLastDay) : std::max(jd, first);
  emit dayChanged();
}

void Session::Set_Flags(const DisplayFlags& flags) {
  flags_ = flags;
  emit flagsChanged();
}

void Session::Set_Site(const Site& site) { site_ = site; }

void Session::Set_Mode(Interpolation mode) { mode_ = mode; }

void Session::Recompute() {
  const std::uint64_t generation = ++asked_;
  // The running recomputation is overtaken, and a log not written yet would be
  // replaced by this one's.
  worker_.Cancel();
  worker_.Post([this, generation, site = site_, mode = mode_](std::stop_token stop) {
    const ProgressFn progress = [this, generation](std::string_view text, StatusColour colour) {
      QMetaObject::invokeMethod(
          this, [this, generation, t = Text(text), colour] { if (generation == asked_) emit status(t, colour); },
          Qt::QueuedConnection);
    };
    bool complete = false;
    QString error;
    try {
      complete = ComputeSiteEvents(*almanac_, site, mode, data_dir_, progress, stop);
    } catch (...) {
      error = Describe(std::current_exception());
    }
    QMetaObject::invokeMethod(
        this, [=, this] { Computed(generation, complete, site, mode, error); }, Qt::QueuedConnection);
  });
}

// On the window's thread. A newer request means the worker has started on it
// (or will): its lines are no longer this result's, which is dropped.
void Session::Computed(std::uint64_t generation, bool complete, const Site& site, Interpolation mode,
                       const QString& error) {
  if (generation != asked_) return;
  answered_ = generation;
  if (!error.isEmpty()) {
    emit status(error, StatusColour::Red);
    emit failed(error);
    emit idle();
    return;
  }
  if (!complete) {  // cancelled with no newer request: only the destructor does that
    emit idle();
    return;
  }
  QString take_error;
  try {
    TakeSiteEvents(*almanac_, site, mode, Log_Path());
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
  worker_.Post([this, generation](std::stop_token) {
    if (generation != asked_.load()) return;
    try {
      WriteSiteLog(*almanac_, Log_Path());
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
