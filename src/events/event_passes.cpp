#include "event_passes.h"

#include <cmath>
#include <optional>
#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

#include "events/event_kinds.h"
#include "events/event_line.h"
#include "instant_refine.h"
#include "timecalc/numeric.h"
#include "base/number_text.h"

namespace vk {
namespace {

using K = EventKind;

enum class Form { Up, Down, Max, Min };

// The standard tests on three consecutive values: a zero or an extreme that
// falls exactly on one row is counted once.
bool Holds(Form form, double y1, double y2, double y3) {
  switch (form) {
    case Form::Up: return y1 < 0 && y2 <= 0 && y3 > 0;
    case Form::Down: return y1 > 0 && y2 >= 0 && y3 < 0;
    case Form::Max: return y2 > y1 && y2 >= y3;
    case Form::Min: return y2 < y1 && y2 <= y3;
  }
  return false;
}

// The same tests on the window whose middle row is the table's first: y1
// stands for the row before it (see Before), so a zero is told by the first
// hour alone.
bool HoldsFirst(Form form, double y1, double y2, double y3) {
  switch (form) {
    case Form::Up: return y2 <= 0 && y3 > 0;
    case Form::Down: return y2 >= 0 && y3 < 0;
    case Form::Max:
    case Form::Min: return Holds(form, y1, y2, y3);
  }
  return false;
}

// The value of a quantity `y` (of rows 1 … the period's last) in the row before
// the table: the parabola through rows 1 … 3 continued one row back, so that
// the table's first hour is the second half of a window like every other.
template <class Quantity>
double Before(Quantity y) {
  return 3 * y(1) - 3 * y(2) + y(3);
}

// Whether the parabolas through rows i − 2 … i and i − 1 … i + 1 (values y1
// … y4, y2 and y3 of one sign) leave the possibility that the quantity turns
// across zero between rows i − 1 and i: a vertex within the hour, beyond
// zero or within kTurnTolerance of it. Asked only in rows near a turn that
// ComputeSiteValues saw (BasicTable::turn), which have their own values, so
// the parabolas are those of the altitude.
constexpr double kTurnTolerance = 0.15;  // degrees: the parabolas' error within an hour, twice over

bool TurnsAcross(double y1, double y2, double y3, double y4) {
  const double side = y2 > 0 ? 1 : -1;
  // The vertex of the parabola through a, b, c (offsets −1, 0, 1), when it
  // turns towards zero within [from, to].
  auto towards_zero = [&](double a, double b, double c, double from, double to) {
    const double curve = a - 2 * b + c;
    if (curve * side <= 0) return false;  // it turns away from zero, or not at all
    const double at = -(c - a) / (2 * curve);
    if (at < from || at > to) return false;
    return (b - (c - a) * (c - a) / (8 * curve)) * side < kTurnTolerance;
  };
  return towards_zero(y1, y2, y3, -0.25, 1.25) || towards_zero(y2, y3, y4, -1.25, 0.25);
}

double Offset(Form form, double y1, double y2, double y3) {
  return form == Form::Up || form == Form::Down ? Quad_Root(y1, y2, y3) : Quad_Extremum_Pos(y1, y2, y3);
}

class PassRunner {
 public:
  PassRunner(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
             int body, LogText& out, Interpolation mode, LineRecords* records = nullptr,
             TransitMemo* transits = nullptr)
      : eph_(eph), basic_(basic), site_(site), body_(body), name_(BodyNames[body]), out_(out), records_(records),
        transits_(transits), mode_(mode),
        refiner_(eph, basic, site, obs, body), rows_(eph.rows()) {}

  // The passes in their order: those for the site, then the site-independent
  // ones, whose events come from `fixed` when given.
  void Run(const FixedEvents* fixed);
  // The site-independent passes alone, their events collected.
  FixedEvents FindFixed();
  // The Sun's golden-hour levels alone.
  void LightPasses() {
    Twilight(kGoldenHourLow, EventName(K::MGoldB), EventName(K::AGoldE));
    Twilight(kGoldenHourHigh, EventName(K::MGoldE), EventName(K::AGoldB));
  }

 private:
  const tEphemerisRow& E(int row) const { return eph_.at(body_, row); }
  const tBasicRow& B(int row) const { return basic_.at(body_, row); }

  // The offset n of an event of window i, refined in precise mode; y1, y2, y3
  // the quantity at rows i − 2, i − 1, i give the first slope.
  double Exact(Crossing crossing, double level, int i, double n, double y1, double y2, double y3) const {
    if (mode_ == Interpolation::Classic) return n;
    return refiner_.Refine(crossing, level, i - 1, n, Quad_Slope(y1, y2, y3, n), y1 - 2 * y2 + y3,
                           HourWithSignChange(y1, y2, y3, n));
  }

  void Emit(int i, double n, std::string_view event, const EventFields& fields = {}) {
    if (collect_) {
      collect_->push_back({i, n, event, fields, only_});
      return;
    }
    Write(E(i - 1).jd + n / 24, event, fields);
  }

  void Write(double jd_ut, std::string_view event, const EventFields& fields) {
    AppendEventLine(out_, jd_ut, LocalJD(jd_ut, site_), name_, event, fields,
                    records_ ? &records_->emplace_back() : nullptr);
  }

  // A triple pass with one of the standard tests; `fields(i)` gives the values
  // written. With `found`, found(i) is told of each window instead.
  template <class Quantity, class Fields, class Found = std::nullptr_t>
  void Triple(Quantity y, Form form, std::string_view event, Fields fields, Found found = nullptr) {
    // Each value is computed once and slides through the window.
    double y1 = Before(y), y2 = y(1);
    for (int i = 2; i <= rows_; ++i) {
      const double y3 = y(i);
      if (!(i == 2 ? HoldsFirst(form, y1, y2, y3) : Holds(form, y1, y2, y3))) {
      } else if constexpr (std::is_same_v<Found, std::nullptr_t>) {
        Emit(i, Offset(form, y1, y2, y3), event, fields(i));
      } else {
        found(i);
      }
      y1 = y2;
      y2 = y3;
    }
  }

  EventFields Label(int i) const {
    EventFields f;
    f.label = &E(i - 1).label;
    return f;
  }
  EventFields DiameterMagnitudeLabel(int i) const {
    EventFields f = Label(i);
    // Copied out first: optional's assignment would bind a reference to the
    // packed, possibly misaligned field.
    const double diameter = E(i - 1).diameter, magnitude = E(i - 1).mag;
    f.diameter = diameter;
    f.magnitude = magnitude;
    return f;
  }
  bool EastOfSun(int row) const { return Mod_Positive(E(row).ra - eph_.at(Sun, row).ra, 24) < 12; }

  void Twilight(double threshold, std::string_view morning, std::string_view evening);
  void RiseSet();
  // Precise instants: every crossing of zero by `crossing`'s quantity, whose
  // values at the rows are q(k), hour by hour: one in each hour whose rows
  // change sign, and two in an hour whose rows stay on one side where the
  // quantity turns across zero and back between them (TurnsAcross, then
  // InstantRefiner::CrossingsAround). found(i, n, rising) for each, in time
  // order: n hours after row i − 1.
  template <class Quantity, class Found>
  void EveryCrossing(Crossing crossing, double level, Quantity q, Found found);
  void Transit();
  void BrightnessMaximum(double threshold);
  void GreatestElongation();
  void Stations(Form form, std::string_view event);
  // Closest and farthest approach: the extremes of Δ, or for the Moon with
  // `geometric` those of its geometric distance (GeometricMoonDistance).
  void Distance(Form form, std::string_view event, bool geometric = false);
  double GeometricMoonDistance(int row) const;
  void SitePasses();
  void FixedPasses();

  const EphemerisStore& eph_;
  const BasicTable& basic_;
  const Site& site_;
  const int body_;
  const std::string_view name_;
  LogText& out_;
  LineRecords* const records_;
  TransitMemo* const transits_;
  const Interpolation mode_;
  const InstantRefiner refiner_;
  FixedEvents* collect_ = nullptr;  // where Emit puts events instead of writing lines
  std::optional<Interpolation> only_;  // the mode of the events collected, none: both
  int rows_;                           // rows of the store's period
};

void PassRunner::Twilight(double t, std::string_view morning, std::string_view evening) {
  if (mode_ == Interpolation::Precise) {
    EveryCrossing(Crossing::CentreAltitude, t, [&](int k) { return B(k).alt - t; },
                  [&](int i, double n, bool rising) { Emit(i, n, rising ? morning : evening); });
    return;
  }
  for (int i = 2; i <= rows_; ++i) {
    const double h1 = B(i - 1).alt, h2 = B(i).alt;
    const bool rising = h1 <= t && h2 > t;
    const bool sinking = h1 >= t && h2 < t;
    if (!rising && !sinking) continue;
    Write(E(i - 1).jd + (t - h1) / (h2 - h1) / 24, rising ? morning : evening, {});
  }
}

template <class Quantity, class Found>
void PassRunner::EveryCrossing(Crossing crossing, double level, Quantity q, Found found) {
  const double before = Before(q);
  auto at = [&](int k) { return k < 1 ? before : q(std::min(k, rows_)); };
  double q1 = before, q2 = q(1);
  for (int i = 2; i <= rows_; ++i) {
    const double q3 = q(i);
    const bool rising = q2 <= 0 && q3 > 0, sinking = q2 >= 0 && q3 < 0;
    if (rising || sinking) {
      // One crossing in the hour (a zero at a row belongs to the hour after it),
      // first guessed on the parabola through three rows, or linearly.
      const double quad = Quad_Root(q1, q2, q3);
      const double n0 = quad >= 0 && quad <= 1 ? quad : q2 / (q2 - q3);
      found(i, Exact(crossing, level, i, n0, q1, q2, q3), rising);
    } else if (q2 != 0 && basic_.turn(body_, i - 1) && TurnsAcross(q1, q2, q3, at(i + 1))) {
      // The rows stay on one side; the quantity may turn across zero and
      // back between them: two crossings within the hour, or none.
      if (const std::optional<HourSpan> both = refiner_.CrossingsAround(crossing, level, i - 1, q2 > 0)) {
        found(i, both->from, q2 < 0);
        found(i, both->to, q2 > 0);
      }
    }
    q1 = q2;
    q2 = q3;
  }
}

void PassRunner::RiseSet() {
  if (mode_ == Interpolation::Precise) {
    // The upper limb's crossings of the horizon altitude, every one.
    EveryCrossing(Crossing::UpperLimb, kHorizonAltitude,
                  [&](int k) { return B(k).alt - kHorizonAltitude + Semidiameter(E(k).diameter); },
                  [&](int i, double n, bool rising) {
                    if (rising)
                      Emit(i, n, EventName(K::Aufgang), DiameterMagnitudeLabel(i));
                    else
                      Emit(i, n, EventName(K::Untergang));
                  });
    return;
  }
  // The bracket uses the level h0 + s, the root the level h0 − s (upper limb at h0).
  auto g = [&](int k) { return B(k).alt - (kHorizonAltitude + Semidiameter(E(k).diameter)); };
  auto y_row = [&](int k) { return B(k).alt - kHorizonAltitude + Semidiameter(E(k).diameter); };
  auto y = [&](int k) { return k >= 1 ? y_row(k) : Before(y_row); };
  double g1 = Before(g), g2 = g(1);
  for (int i = 2; i <= rows_; ++i) {
    const double g3 = g(i);
    auto root = [&] { return Quad_Root(y(i - 2), y(i - 1), y(i)); };
    // In the table's first hour the row before it is not known: its sign is not asked.
    if ((g1 < 0 || i == 2) && g2 <= 0 && g3 >= 0) Emit(i, root(), EventName(K::Aufgang), DiameterMagnitudeLabel(i));
    if ((g1 > 0 || i == 2) && g2 >= 0 && g3 <= 0) Emit(i, root(), EventName(K::Untergang));
    g1 = g2;
    g2 = g3;
  }
}

void PassRunner::Transit() {
  const std::string_view event = body_ == Sun ? EventName(K::WahrerMittag) : EventName(K::ImMeridian);
  if (transits_ && transits_->lon == site_.Site_eLon && transits_->mode == mode_) {
    for (const auto& [row, offset] : transits_->at) Emit(row, offset, event);
    return;
  }
  std::vector<std::pair<int, double>> found;
  double y1 = Before([&](int k) { return B(k).sin_ha; }), y2 = B(1).sin_ha;
  for (int i = 2; i <= rows_; ++i) {
    const double y3 = B(i).sin_ha;
    if (i == 2 ? HoldsFirst(Form::Up, y1, y2, y3) : Holds(Form::Up, y1, y2, y3)) {
      const double n = Exact(Crossing::HourAngle, 0, i, Quad_Root(y1, y2, y3), y1, y2, y3);
      Emit(i, n, event);
      if (transits_) found.emplace_back(i, n);
    }
    y1 = y2;
    y2 = y3;
  }
  if (transits_) *transits_ = {site_.Site_eLon, mode_, std::move(found)};
}

void PassRunner::BrightnessMaximum(double threshold) {
  auto mag = [&](int k) { return E(k).mag; };
  for (int i = 2; i <= rows_; ++i) {
    const double m1 = i > 2 ? E(i - 2).mag : Before(mag), m2 = E(i - 1).mag, m3 = E(i).mag;
    if (!(m2 < threshold && m2 < m1 && m2 < m3)) continue;
    EventFields f = DiameterMagnitudeLabel(i);
    f.angle = FormatFixed(basic_.elong(body_, i - 1), 2);
    f.magnitude = Quad_Extremum_Value(m1, m2, m3);
    Emit(i, Quad_Extremum_Pos(m1, m2, m3),
         EastOfSun(i - 1) ? EventName(K::HelligkeitAbend) : EventName(K::HelligkeitMorgen), f);
  }
}

void PassRunner::GreatestElongation() {
  auto elong = [&](int k) { return basic_.elong(body_, k); };
  for (int i = 2; i <= rows_; ++i) {
    const double e1 = i > 2 ? elong(i - 2) : Before(elong), e2 = elong(i - 1), e3 = elong(i);
    if (!Holds(Form::Max, e1, e2, e3)) continue;
    EventFields f = DiameterMagnitudeLabel(i);
    f.angle = FormatFixed(e2, 2);
    Emit(i, Quad_Extremum_Pos(e1, e2, e3),
         EastOfSun(i - 1) ? EventName(K::ElongationOst) : EventName(K::ElongationWest), f);
  }
}

void PassRunner::Stations(Form form, std::string_view event) {
  auto lon = [&](int k) { return E(k).ecl_lon; };
  for (int i = 2; i <= rows_; ++i) {
    const double l1 = i > 2 ? E(i - 2).ecl_lon : Before(lon), l2 = E(i - 1).ecl_lon, l3 = E(i).ecl_lon;
    // A step across 360° → 0° is no turning point.
    if (Holds(form, l1, l2, l3) && std::fabs(l3 - l1) < 180) Emit(i, Quad_Extremum_Pos(l1, l2, l3), event, Label(i));
  }
}

double PassRunner::GeometricMoonDistance(int k) const {
  // Δ is the distance the light travelled, from where the Moon stood a light
  // time τ earlier: shorter than the geometric distance by τ times the Moon's
  // barycentric velocity along the line of sight, which is the change of Δ
  // plus the Earth's velocity along it, the latter the negative of the Sun's
  // geocentric velocity (the Sun's own is 13 m/s). Velocities from the rows
  // either side, per hour; the Sun's vectors of date, as the Moon's direction.
  const int a = std::max(1, k - 1), b = std::min(rows_, k + 1);
  auto sun = [&](int j) {
    const tEphemerisRow& s = eph_.at(Sun, j);
    const UnitVector3 u = Unit_Vector(s.ra * kHourToRad, s.dec * kDegToRad);
    return UnitVector3{u.x * s.delta, u.y * s.delta, u.z * s.delta};
  };
  const UnitVector3 s1 = sun(a), s2 = sun(b);
  const double hours = b - a;
  const tEphemerisRow& m = E(k);
  const UnitVector3 u = Unit_Vector(m.ra * kHourToRad, m.dec * kDegToRad);
  const double sun_along = (u.x * (s2.x - s1.x) + u.y * (s2.y - s1.y) + u.z * (s2.z - s1.z)) / hours;
  const double rate = (E(b).delta - E(a).delta) / hours;
  constexpr double kLightKmPerHour = 299792.458 * 3600;
  const double tau = m.delta * AU_km / kLightKmPerHour;
  return m.delta + tau * (rate - sun_along);
}

void PassRunner::Distance(Form form, std::string_view event, bool geometric) {
  if (geometric) {
    // Each extreme of the geometric distance lies within minutes of one of Δ:
    // the windows around it are searched for it.
    Triple([&](int k) { return E(k).delta; }, form, event, [&](int) { return EventFields{}; },
           [&](int i) {
             for (int j = std::max(3, i - 3); j <= std::min(rows_, i + 3); ++j) {
               const double r1 = GeometricMoonDistance(j - 2), r2 = GeometricMoonDistance(j - 1),
                            r3 = GeometricMoonDistance(j);
               if (!Holds(form, r1, r2, r3)) continue;
               EventFields f = DiameterMagnitudeLabel(j);
               f.km = r2 * AU_km;
               f.earth_radii = r2 * AU_km / kEarthRadiusKm;
               Emit(j, Quad_Extremum_Pos(r1, r2, r3), event, f);
               return;
             }
           });
    return;
  }
  Triple([&](int k) { return E(k).delta; }, form, event, [&](int i) {
    const double au = E(i - 1).delta;
    const double km = au * AU_km;
    EventFields f = DiameterMagnitudeLabel(i);
    f.km = km;
    if (body_ == Moon)
      f.earth_radii = km / kEarthRadiusKm;
    else
      f.au = au;
    return f;
  });
}

void PassRunner::SitePasses() {
  if (body_ == Sun) {
    Twilight(kAstronomicalTwilight, EventName(K::MAstrD), EventName(K::AAstrD));
    Twilight(kNauticalTwilight, EventName(K::MNautD), EventName(K::ANautD));
    Twilight(kCivilTwilight, EventName(K::MBurgD), EventName(K::ABurgD));
  }
  RiseSet();
  Transit();
}

void PassRunner::Run(const FixedEvents* fixed) {
  SitePasses();
  if (!fixed) {
    FixedPasses();
    return;
  }
  for (const FixedEvent& f : *fixed)
    if (!f.only || *f.only == mode_) Emit(f.row, f.offset, f.event, f.fields);
}

FixedEvents PassRunner::FindFixed() {
  FixedEvents found;
  collect_ = &found;
  FixedPasses();
  collect_ = nullptr;
  return found;
}

void PassRunner::FixedPasses() {
  auto label = [&](int i) { return Label(i); };
  auto dml = [&](int i) { return DiameterMagnitudeLabel(i); };
  auto sin_d_lon = [&](int k) { return B(k).sin_d_lon; };
  auto cos_d_lon = [&](int k) { return B(k).cos_d_lon; };
  auto dec = [&](int k) { return E(k).dec; };
  const bool inner = body_ == Mercury || body_ == Venus;
  const bool outer = body_ >= Mars;
  if (inner) {
    BrightnessMaximum(body_ == Mercury ? -1.0 : -4.5);
    GreatestElongation();
    Triple(sin_d_lon, Form::Down, EventName(K::UntereKonjunktion), dml);
    Triple(sin_d_lon, Form::Up, EventName(K::ObereKonjunktion), dml);
  }
  if (outer) {
    Triple(sin_d_lon, Form::Down, EventName(K::Konjunktion), dml);
    Triple(sin_d_lon, Form::Up, EventName(K::Opposition), dml);
    Stations(Form::Max, EventName(K::WirdRuecklaeufig));
    Stations(Form::Min, EventName(K::WirdRechtlaeufig));
  }
  auto distances = [&](bool geometric) {
    Distance(Form::Min, body_ == Sun ? EventName(K::Sonnennaehe) : EventName(K::Erdnaehe), geometric);
    Distance(Form::Max, body_ == Sun ? EventName(K::Sonnenferne) : EventName(K::Erdferne), geometric);
  };
  if (body_ != Moon) {
    distances(false);
  } else if (collect_) {
    // The Moon's perigees and apogees: of Δ for classic instants, of the
    // geometric distance for precise ones; both are kept.
    only_ = Interpolation::Classic;
    distances(false);
    only_ = Interpolation::Precise;
    distances(true);
    only_.reset();
  } else {
    distances(mode_ == Interpolation::Precise);
  }
  if (body_ == Sun) {
    // Each row's sine and cosine of the longitude serve two passes each.
    std::vector<double> sines(rows_ + 1), cosines(rows_ + 1);
    for (int k = 1; k <= rows_; ++k) {
      sines[static_cast<std::size_t>(k)] = std::sin(E(k).ecl_lon * kDegToRad);
      cosines[static_cast<std::size_t>(k)] = std::cos(E(k).ecl_lon * kDegToRad);
    }
    auto sin_lon = [&](int k) { return sines[static_cast<std::size_t>(k)]; };
    auto cos_lon = [&](int k) { return cosines[static_cast<std::size_t>(k)]; };
    auto solstice = [&](int i) {
      EventFields f = Label(i);
      f.angle = DeclinationText(E(i - 1).dec);
      return f;
    };
    Triple(sin_lon, Form::Up, EventName(K::FruehlingEkliptik), label);
    Triple(dec, Form::Up, EventName(K::FruehlingAequator), label);
    Triple(sin_lon, Form::Down, EventName(K::HerbstEkliptik), label);
    Triple(dec, Form::Down, EventName(K::HerbstAequator), label);
    Triple(cos_lon, Form::Down, EventName(K::SommerEkliptik), solstice);
    Triple(dec, Form::Max, EventName(K::SommerAequator), solstice);
    Triple(cos_lon, Form::Up, EventName(K::WinterEkliptik), solstice);
    Triple(dec, Form::Min, EventName(K::WinterAequator), solstice);
  } else {
    auto declination = [&](int i) {
      EventFields f = Label(i);
      f.angle = FormatFixed(E(i - 1).dec, 2);
      return f;
    };
    Triple(dec, Form::Max, EventName(K::NoerdlichsteDeklination), declination);
    Triple(dec, Form::Min, EventName(K::SuedlichsteDeklination), declination);
  }
  if (body_ == Moon) {
    Triple(sin_d_lon, Form::Up, EventName(K::Neumond), label);
    Triple(sin_d_lon, Form::Down, EventName(K::Vollmond), label);
    Triple(cos_d_lon, Form::Down, EventName(K::ErstesViertel), label);
    Triple(cos_d_lon, Form::Up, EventName(K::LetztesViertel), label);
  }
}

}  // namespace

void RunEventPasses(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
                    int body, LogText& out, Interpolation mode, LineRecords* records, TransitMemo* transits) {
  PassRunner(eph, basic, site, obs, body, out, mode, records, transits).Run(basic.fixed_events(body));
}

void RunLightPasses(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
                    LogText& out, Interpolation mode, LineRecords* records) {
  PassRunner(eph, basic, site, obs, Sun, out, mode, records).LightPasses();
}

FixedEvents FindFixedEvents(const EphemerisStore& eph, const BasicTable& basic, int body) {
  LogText unused;
  // Their instants are not refined: the observer does not matter.
  return PassRunner(eph, basic, Site{}, ObserverConstants{}, body, unused, Interpolation::Classic).FindFixed();
}

}  // namespace vk
