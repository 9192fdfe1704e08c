#include "event_passes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "events/event_line.h"
#include "support/synthetic_ephemeris.h"
#include "timecalc/numeric.h"
#include "base/number_text.h"
#include "timecalc/input_checks.h"

namespace vk {
namespace {

using test::Events;
using test::Fields;
using test::Lines;
using test::RowJD;
using test::Synthetic;

constexpr double kSecondTol = 1.0 / 86400;

double JdOf(const std::vector<std::string>& f) { return ParseFloat(f.at(0)); }

#define EXPECT_AT(fields, jd) \
  EXPECT_NEAR(JdOf(fields), (jd), kSecondTol) << "off by " << (JdOf(fields) - (jd)) * 86400 << " s"

class EventPasses : public ::testing::Test {
 protected:
  Synthetic& s = Synthetic::Get();
  void SetUp() override {
    for (int b = 0; b < kBodyCount; ++b) s.Clear(b);
    s.site = Site{47.5, 7.5, 1.0, {}};
  }
  tBasicRow& B(int body, int row) { return s.basic.at(body, row); }
  tEphemerisRow& E(int body, int row) { return s.eph.at(body, row); }
};

TEST_F(EventPasses, TwilightsAtTheLinearlyInterpolatedInstant) {
  // Sun altitude −20, −17 around row 100/101: morning astronomical twilight at f = 2/3.
  for (int k = 1; k <= kEphemerisRows; ++k) B(Sun, k).alt = -30;
  B(Sun, 101).alt = -20;
  B(Sun, 102).alt = -17;
  B(Sun, 103).alt = -11;
  B(Sun, 104).alt = -5;
  B(Sun, 105).alt = -30;
  const std::string out = s.Run(Sun);
  auto m = Events(out, "MAstrD");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_AT(m[0], RowJD(101) + (2.0 / 3) / 24);
  EXPECT_EQ(Events(out, "MNautD").size(), 1u);
  auto civil = Events(out, "MBurgD");
  ASSERT_EQ(civil.size(), 1u);
  EXPECT_AT(civil[0], RowJD(103) + (5.0 / 6) / 24);
  auto evening = Events(out, "ABurgD");
  ASSERT_EQ(evening.size(), 1u);
  EXPECT_AT(evening[0], RowJD(104) + (1.0 / 25) / 24);
  // No values: eight TABs after the event name.
  EXPECT_EQ(m[0].size(), 11u);
  for (std::size_t i = 4; i < 11; ++i) EXPECT_EQ(m[0][i], "") << "field " << i + 1;
  EXPECT_EQ(Lines(out)[0].substr(Lines(out)[0].find("MAstrD")), "MAstrD\t\t\t\t\t\t\t\t");
}

TEST_F(EventPasses, TwilightExactlyOnARowIsWrittenOnce) {
  for (int k = 1; k <= kEphemerisRows; ++k) B(Sun, k).alt = -30;
  B(Sun, 200).alt = -18;  // exactly the threshold, then higher
  B(Sun, 201).alt = -15;
  const auto m = Events(s.Run(Sun), "MAstrD");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_AT(m[0], RowJD(200));
}

// The table's first hour, rows 1 and 2, is searched like every other: the
// window around row 1 takes the parabola through rows 1 … 3 one row back.
TEST_F(EventPasses, EventsOfTheTablesFirstHour) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    B(Sun, k).alt = -30;
    B(Mars, k).alt = 40;
    B(Moon, k).sin_d_lon = 1;
    B(Jupiter, k).sin_ha = std::sin((k - 1.4 - 24) * 15 * kDegToRad);
  }
  const double sun[] = {-19, -17, -15}, mars[] = {5, -5, -15}, moon[] = {-0.5, 0.5, 1.5};
  for (int k = 1; k <= 3; ++k) {
    B(Sun, k).alt = sun[k - 1];
    B(Mars, k).alt = mars[k - 1];
    B(Moon, k).sin_d_lon = moon[k - 1];
  }
  const struct {
    int body;
    const char* event;
    double jd, tolerance_s;
  } cases[] = {
      {Sun, "MAstrD", RowJD(1.5), 1},
      {Mars, "Untergang", RowJD(1) + (5 - kHorizonAltitude) / 10 / 24, 1},
      {Moon, "Neumond", RowJD(1.5), 1},
      {Jupiter, "im Meridian", RowJD(1.4), 20},  // the parabola through sines 15° apart
  };
  for (const auto& c : cases) {
    const auto found = Events(s.Run(c.body), c.event);
    ASSERT_FALSE(found.empty()) << BodyNames[c.body] << " " << c.event;
    EXPECT_NEAR(JdOf(found[0]), c.jd, c.tolerance_s / 86400) << BodyNames[c.body] << " " << c.event;
  }
}

TEST_F(EventPasses, RiseAndSetUseTheBracketAndTheUpperLimbRoot) {
  // Planet altitude rising linearly 10°/h through the horizon around row 300.
  for (int k = 1; k <= kEphemerisRows; ++k) {
    B(Mars, k).alt = -40;
    E(Mars, k).diameter = 7200;  // semidiameter 1°
    E(Mars, k).mag = 1.25;
    E(Mars, k).label = {3, {'L', 'e', 'o'}};
  }
  for (int k = 290; k <= 310; ++k) B(Mars, k).alt = (k - 300) * 10.0;
  for (int k = 311; k <= 330; ++k) B(Mars, k).alt = (320 - k) * 10.0;
  const std::string out = s.Run(Mars);
  const auto rise = Events(out, "Aufgang");
  ASSERT_EQ(rise.size(), 1u);
  // Root of alt − h0 + s: alt = h0 − 1° = −1.5667°.
  EXPECT_AT(rise[0], RowJD(300) + (kHorizonAltitude - 1) / 10 / 24);
  EXPECT_EQ(rise[0][8], "7200.0");
  EXPECT_EQ(rise[0][9], "1.25");
  EXPECT_EQ(rise[0][10], "Leo");
  const auto set = Events(out, "Untergang");
  ASSERT_EQ(set.size(), 1u);
  EXPECT_AT(set[0], RowJD(320) - (kHorizonAltitude - 1) / 10 / 24);
  for (std::size_t i = 4; i < 11; ++i) EXPECT_EQ(set[0][i], "");
}

TEST_F(EventPasses, RiseThroughAnExactZeroOfTheBracketIsWrittenTwice) {
  for (int k = 1; k <= kEphemerisRows; ++k) B(Venus, k).alt = -40;
  // g = alt − h0 (no diameter): exactly 0 at row 500.
  B(Venus, 498).alt = kHorizonAltitude - 20;
  B(Venus, 499).alt = kHorizonAltitude - 10;
  B(Venus, 500).alt = kHorizonAltitude;
  B(Venus, 501).alt = kHorizonAltitude + 10;
  B(Venus, 502).alt = kHorizonAltitude + 20;
  for (int k = 503; k <= 600; ++k) B(Venus, k).alt = 30;
  const auto rise = Events(s.Run(Venus), "Aufgang");
  ASSERT_EQ(rise.size(), 2u);
  EXPECT_AT(rise[0], RowJD(500));
  EXPECT_AT(rise[1], RowJD(500));
}

TEST_F(EventPasses, TransitNamesAndOnlyTheUpperCulmination) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    // Hour angle runs 15°/h, passing 0 at row 10.25 (+ whole days) and π twelve hours later.
    B(Sun, k).sin_ha = std::sin((k - 10.25) * 15 * kDegToRad);
    B(Jupiter, k).sin_ha = std::sin((k - 10.25) * 15 * kDegToRad);
  }
  const auto noon = Events(s.Run(Sun), "wahrer Mittag");
  ASSERT_GT(noon.size(), 3000u);
  // The parabola through the sines of the hour angle, 15° apart, is off the true instant by seconds.
  auto sin_ha = [&](int k) { return B(Sun, k).sin_ha; };
  const double n = Quad_Root(sin_ha(9), sin_ha(10), sin_ha(11));
  EXPECT_AT(noon[0], RowJD(10) + n / 24);
  EXPECT_AT(noon[1], RowJD(34) + n / 24);
  EXPECT_NEAR(JdOf(noon[0]), RowJD(10.25), 15.0 / 86400);
  const auto meridian = Events(s.Run(Jupiter), "im Meridian");
  EXPECT_EQ(meridian.size(), noon.size());
  EXPECT_TRUE(Events(s.Run(Jupiter), "wahrer Mittag").empty());
}

TEST_F(EventPasses, BrightnessMaximumIsStrictAndBelowTheThreshold) {
  auto parabola = [](double n, double vertex, double value) { return value + 0.01 * (n - vertex) * (n - vertex); };
  for (int k = 1; k <= kEphemerisRows; ++k) {
    E(Venus, k).mag = -3.0;
    E(Mercury, k).mag = 2.0;
  }
  for (int k = 990; k <= 1010; ++k) E(Venus, k).mag = parabola(k, 1000.3, -4.7);
  for (int k = 1990; k <= 2010; ++k) E(Venus, k).mag = parabola(k, 2000.3, -4.4);  // too faint
  // Two equal values at the bottom: no maximum.
  E(Venus, 3000).mag = -4.8;
  E(Venus, 3001).mag = -4.9;
  E(Venus, 3002).mag = -4.9;
  E(Venus, 3003).mag = -4.8;
  // Evening sky: Venus 3 h of RA east of the Sun.
  for (int k = 1; k <= kEphemerisRows; ++k) {
    E(Venus, k).ra = 3;
    s.basic.elong(Venus, k) = 45.678;
  }
  const auto m = Events(s.Run(Venus), "maximale Helligkeit (Abendhimmel)");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_AT(m[0], RowJD(1000.3));
  EXPECT_EQ(m[0][7], "45.68");
  EXPECT_EQ(m[0][9], "-4.70") << "the interpolated magnitude";
  // Mercury's threshold is −1.0.
  for (int k = 490; k <= 510; ++k) E(Mercury, k).mag = parabola(k, 500, -0.9);
  for (int k = 690; k <= 710; ++k) E(Mercury, k).mag = parabola(k, 700, -1.1);
  for (int k = 1; k <= kEphemerisRows; ++k) E(Mercury, k).ra = 20;  // west of the Sun
  const std::string out = s.Run(Mercury);
  EXPECT_EQ(Events(out, "maximale Helligkeit (Morgenhimmel)").size(), 1u);
  EXPECT_TRUE(Events(out, "maximale Helligkeit (Abendhimmel)").empty());
}

TEST_F(EventPasses, GreatestElongationWritesTheTabulatedValue) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    s.basic.elong(Mercury, k) = 10;
    E(Mercury, k).ra = 23;  // west
  }
  s.basic.elong(Mercury, 799) = 27.0;
  s.basic.elong(Mercury, 800) = 27.9;
  s.basic.elong(Mercury, 801) = 27.5;
  const auto w = Events(s.Run(Mercury), "maximale Elongation (westl.)");
  ASSERT_EQ(w.size(), 1u);
  EXPECT_AT(w[0], RowJD(800) + Quad_Extremum_Pos(27.0, 27.9, 27.5) / 24);
  EXPECT_EQ(w[0][7], "27.90");
}

TEST_F(EventPasses, ConjunctionsOppositionsAndStationsOfAnOuterPlanet) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    // Longitude difference falls through 0 at row 1000.5 and rises through 180° … sin rises through 0 at 180°.
    B(Saturn, k).sin_d_lon = std::sin((1000.5 - k) * 0.01);
    E(Saturn, k).ecl_lon = 100;
  }
  const std::string out = s.Run(Saturn);
  // One turn of the difference every 2π/0.01 ≈ 628 rows: the first conjunction at row 1000.5 − 628.3.
  const double turn = 2 * kPi / 0.01;
  const auto conj = Events(out, "in Konjunktion zur Sonne");
  ASSERT_GE(conj.size(), 2u);
  EXPECT_AT(conj[0], RowJD(1000.5 - turn));
  EXPECT_AT(conj[1], RowJD(1000.5));
  const auto opp = Events(out, "in Opposition zur Sonne");
  ASSERT_GE(opp.size(), 2u);
  EXPECT_AT(opp[1], RowJD(1000.5 - turn / 2));
  EXPECT_EQ(conj[0][8], "0.0");
  EXPECT_EQ(conj[0][9], "0.00");
  EXPECT_TRUE(Events(out, "in unterer Konjunktion zu Sonne").empty());
  EXPECT_TRUE(Events(out, "maximale Elongation (östl.)").empty());
}

TEST_F(EventPasses, StationsIgnoreTheWrapFrom360To0) {
  // Longitude swinging between 330° and 10° (370°) every 2000 rows: it wraps through
  // 360° → 0° on the way up and 0° → 360° on the way down; maxima at rows 2000.25 + 2000m.
  const double w = 2 * kPi / 2000;
  for (int k = 1; k <= kEphemerisRows; ++k)
    E(Jupiter, k).ecl_lon = std::fmod(350 + 20 * std::cos((k - 0.25) * w), 360.0);
  const std::string out = s.Run(Jupiter);
  const auto retro = Events(out, "stationär, wird rückläufig");
  ASSERT_EQ(retro.size(), 43u) << "the steps across 360° → 0° are no stations";
  EXPECT_AT(retro[0], RowJD(2000.25));
  const auto direct = Events(out, "stationär, wird rechtläufig");
  ASSERT_EQ(direct.size(), 44u);
  EXPECT_AT(direct[0], RowJD(1000.25));
  EXPECT_EQ(direct[0].size(), 11u);
  EXPECT_EQ(direct[0][7], "");
}

TEST_F(EventPasses, DistanceFieldsOfTheMoonAndOfAPlanet) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    E(Moon, k).delta = 0.0027 + 1e-7 * (k - 5000.4) * (k - 5000.4);
    E(Moon, k).diameter = 1900;
    E(Moon, k).mag = -12.5;
    E(Mars, k).delta = 0.6 + 1e-8 * (k - 7000.2) * (k - 7000.2);
    E(Mars, k).diameter = 15;
    E(Mars, k).mag = -1.5;
  }
  auto perigee = Events(s.Run(Moon), "in Erdnähe");
  ASSERT_EQ(perigee.size(), 1u);
  EXPECT_AT(perigee[0], RowJD(5000.4));
  const double au = 0.0027 + 1e-7 * 0.4 * 0.4;
  EXPECT_EQ(perigee[0][4], "");
  EXPECT_EQ(perigee[0][5], FormatFixed(au * AU_km, 0));
  EXPECT_EQ(perigee[0][6], FormatFixed(au * AU_km / 6378.136, 2));
  EXPECT_EQ(perigee[0][7], "");
  EXPECT_EQ(perigee[0][8], "1900.0");
  EXPECT_EQ(perigee[0][9], "-12.50");
  auto closest = Events(s.Run(Mars), "in Erdnähe");
  ASSERT_EQ(closest.size(), 1u);
  EXPECT_EQ(closest[0][4], FormatFixed(0.6 + 1e-8 * 0.04, 4));
  EXPECT_EQ(closest[0][6], "");
  EXPECT_TRUE(Events(s.Run(Mars), "in Erdferne").empty());
}

TEST_F(EventPasses, SeasonsOfTheSunWithDeclinationTexts) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    const double days = (k - 1) / 24.0;
    E(Sun, k).ecl_lon = std::fmod(280 + days * 360 / 365.25, 360.0);
    E(Sun, k).dec = 23.4372 * std::sin(E(Sun, k).ecl_lon * kDegToRad);
    E(Sun, k).delta = 1;
  }
  const std::string out = s.Run(Sun);
  for (const char* name : {"Frühlingsanfang (Ekliptik)", "Frühlingsanfang (Äquator)", "Herbstanfang (Ekliptik)",
                           "Herbstanfang (Äquator)", "Sommeranfang (Ekliptik)", "Sommeranfang (Äquator)",
                           "Winteranfang (Ekliptik)", "Winteranfang (Äquator)"})
    EXPECT_EQ(Events(out, name).size(), 10u) << name;
  const auto summer = Events(out, "Sommeranfang (Äquator)");
  EXPECT_EQ(summer[0][7].substr(0, 7), "+23:26:");
  const auto winter = Events(out, "Winteranfang (Ekliptik)");
  EXPECT_EQ(winter[0][7].substr(0, 7), "-23:26:");
  EXPECT_AT(Events(out, "Frühlingsanfang (Ekliptik)")[0], RowJD(1) + 80 * 365.25 / 360);
  EXPECT_TRUE(Events(out, "nördlichste Deklination").empty());
}

TEST_F(EventPasses, MoonPhasesFromTheLongitudeDifference) {
  for (int k = 1; k <= kEphemerisRows; ++k) {
    const double d = (k - 100.5) * 2 * kPi / (29.5 * 24);  // new Moon at row 100.5
    B(Moon, k).sin_d_lon = std::sin(d);
    B(Moon, k).cos_d_lon = std::cos(d);
  }
  const std::string out = s.Run(Moon);
  const auto nm = Events(out, "Neumond");
  ASSERT_GE(nm.size(), 100u);
  EXPECT_AT(nm[0], RowJD(100.5));
  EXPECT_AT(Events(out, "Erstes Viertel")[0], RowJD(100.5 + 29.5 * 24 / 4));
  EXPECT_AT(Events(out, "Vollmond")[0], RowJD(100.5 + 29.5 * 24 / 2));
  EXPECT_AT(Events(out, "Letztes Viertel")[0], RowJD(100.5 + 29.5 * 24 * 3 / 4));
}

TEST(DeclinationText, Signs) {
  EXPECT_EQ(DeclinationText(23.4372), "+23:26:14");
  EXPECT_EQ(DeclinationText(-23.4372), "-23:26:14");
  EXPECT_EQ(DeclinationText(0.0), "+00:00:00");
}

}  // namespace
}  // namespace vk
