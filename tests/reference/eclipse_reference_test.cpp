// Eclipses and occultations on the shipped data against the table that
// make_eclipse_reference.py writes from PyEphem's places: every eclipse and
// occultation of either side found on the other, each contact and magnitude
// within its tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "events/eclipses.h"
#include "support/temp_dir.h"
#include "timecalc/numeric.h"

namespace vk {
namespace {

const std::filesystem::path kData = VK_DATA_DIR;
constexpr double kSecond = 1.0 / 86400;

// One eclipse or occultation of the table: its items (contacts as Julian
// days UT, magnitudes) by name.
struct RefEvent {
  std::string kind, body;
  double lat = 0, lon = 0;
  std::map<std::string, double> items;
};

std::vector<RefEvent> ReadTable(const std::string& text) {
  std::vector<RefEvent> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    std::string kind, lat, lon, body, item, value;
    std::getline(f, kind, '\t');
    std::getline(f, lat, '\t');
    std::getline(f, lon, '\t');
    std::getline(f, body, '\t');
    std::getline(f, item, '\t');
    std::getline(f, value, '\t');
    // A new event at each first contact.
    if (out.empty() || item == "P1" || item == "C1" || item == "disappearance")
      out.push_back({kind, body, std::stod(lat), std::stod(lon), {}});
    out.back().items[item] = std::stod(value);
  }
  return out;
}

// The new and full Moons of the rows: the Moon's longitude less the Sun's
// crossing 0° or 180°, interpolated linearly (the search brackets them).
std::vector<double> Syzygies(const EphemerisStore& eph) {
  std::vector<double> out;
  auto diff = [&](int row) { return std::remainder(eph.at(Moon, row).ecl_lon - eph.at(Sun, row).ecl_lon, 180.0); };
  for (int row = 2; row <= eph.rows(); ++row) {
    const double a = diff(row - 1), b = diff(row);
    if (a < 0 && b >= 0) out.push_back(eph.at(Moon, row - 1).jd + a / (a - b) / 24);
  }
  return out;
}

// Errors per item: seconds for instants, the value's difference for magnitudes.
struct Errors {
  std::map<std::string, std::vector<double>> by_item;
  void Add(const std::string& item, double e) { by_item[item].push_back(std::fabs(e)); }
};

void Check(Errors& errors, const RefEvent& ref, const std::string& item, double program, double tolerance,
           bool instant) {
  const auto it = ref.items.find(item);
  if (it == ref.items.end()) {
    EXPECT_TRUE(std::isnan(program)) << ref.kind << " " << item << " only in the program, at " << program;
    return;
  }
  ASSERT_FALSE(std::isnan(program)) << ref.kind << " " << item << " missing near " << it->second;
  const double error = instant ? (program - it->second) / kSecond : program - it->second;
  errors.Add(ref.kind + " " + item, error);
  EXPECT_LE(std::fabs(error), tolerance) << ref.kind << " " << ref.body << " at " << ref.lat << " " << ref.lon << " "
                                         << item << ": program " << program << ", reference " << it->second;
}

TEST(EclipseReference, EveryEventAndContactWithinItsTolerance) {
  static EphemerisStore eph;  // about 100 MB: not on the stack
  LoadEphemeris(eph, kData);
  const std::vector<RefEvent> table = ReadTable(test::ReadFile(VK_ECLIPSE_TABLE));
  ASSERT_GE(table.size(), 60u);
  const std::vector<double> syzygies = Syzygies(eph);
  const GlobalHeadlines global = FindGlobalHeadlines(eph, syzygies);
  Errors errors;
  std::map<std::pair<double, double>, SiteHeadlines> sites;
  for (const RefEvent& r : table)
    if (r.kind != "lunar" && !sites.count({r.lat, r.lon}))
      sites[{r.lat, r.lon}] = FindSiteHeadlines(eph, syzygies, global, Site{r.lat, r.lon, 0, {}});
  ASSERT_EQ(sites.size(), 3u);
  std::map<std::string, int> counts;
  static constexpr const char* kLunar[] = {"P1", "U1", "U2", "U3", "U4", "P4"};
  static constexpr const char* kSolar[] = {"C1", "C2", "C3", "C4"};
  for (const RefEvent& r : table) {
    SCOPED_TRACE(r.kind + " " + r.body + " " + std::to_string(r.items.begin()->second));
    if (r.kind == "lunar") {
      ++counts["lunar"];
      const auto e = std::find_if(global.lunar.begin(), global.lunar.end(), [&](const LunarEclipse& e) {
        return std::fabs(e.greatest - r.items.at("greatest")) < 0.1;
      });
      ASSERT_NE(e, global.lunar.end());
      for (int c = 0; c < kLunarContacts; ++c) Check(errors, r, kLunar[c], e->contact[c], 5, true);
      Check(errors, r, "greatest", e->greatest, 5, true);
      Check(errors, r, "umbral", e->umbral_magnitude, 0.002, false);
      Check(errors, r, "penumbral", e->penumbral_magnitude, 0.002, false);
    } else if (r.kind == "solar") {
      const SiteHeadlines& h = sites[{r.lat, r.lon}];
      ++counts["solar" + std::to_string(r.lat)];
      const auto e = std::find_if(h.solar.begin(), h.solar.end(), [&](const SolarEclipse& e) {
        return std::fabs(e.maximum - r.items.at("maximum")) < 0.1;
      });
      ASSERT_NE(e, h.solar.end());
      for (int c = 0; c < kSolarContacts; ++c) Check(errors, r, kSolar[c], e->contact[c], 5, true);
      Check(errors, r, "maximum", e->maximum, 5, true);
      Check(errors, r, "magnitude", e->magnitude, 0.003, false);
      Check(errors, r, "obscuration", e->obscuration, 0.003, false);
    } else {
      const SiteHeadlines& h = sites[{r.lat, r.lon}];
      ++counts["occultation" + std::to_string(r.lat)];
      const auto o = std::find_if(h.occultations.begin(), h.occultations.end(), [&](const Occultation& o) {
        return BodyNames[o.planet] == r.body && std::fabs(o.disappearance - r.items.at("disappearance")) < 0.1;
      });
      ASSERT_NE(o, h.occultations.end());
      Check(errors, r, "disappearance", o->disappearance, 10, true);
      Check(errors, r, "reappearance", o->reappearance, 10, true);
    }
  }
  // Nothing the program finds is missing from the table.
  EXPECT_EQ(static_cast<int>(global.lunar.size()), counts["lunar"]);
  for (const auto& [site, h] : sites) {
    EXPECT_EQ(static_cast<int>(h.solar.size()), counts["solar" + std::to_string(site.first)]) << site.first;
    EXPECT_EQ(static_cast<int>(h.occultations.size()), counts["occultation" + std::to_string(site.first)])
        << site.first;
  }
  // The comparison: median and largest error per item.
  std::cout << "item\tcount\tmedian\tlargest\n";
  for (auto& [item, list] : errors.by_item) {
    std::sort(list.begin(), list.end());
    std::cout << item << "\t" << list.size() << "\t" << list[list.size() / 2] << "\t" << list.back() << "\n";
  }
}

}  // namespace
}  // namespace vk
