// The rows of a reference table against the events of an almanac: each row's
// nearest event of its body and name, within the row's tolerance.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "events/almanac.h"
#include "reference_table.h"

namespace vk {

// Checks `rows` (precise or classic tolerances) against a.events.
// Returns: the |error| of each checked row in seconds, by body and event.
inline std::map<std::string, std::vector<double>> CheckRows(const Almanac& a,
                                                            const std::vector<const test::ReferenceRow*>& rows,
                                                            bool precise) {
  // Instants of every body and event name, for the nearest match.
  std::map<std::pair<int, std::string>, std::vector<const tEventData*>> events;
  std::map<std::string_view, int> body_of;
  for (int b = 0; b < kBodyCount; ++b) body_of[BodyNames[b]] = b;
  for (int i = 1; i <= a.events.Event_Count; ++i) {
    const tEventData& e = a.events.Event_Tab[i];
    events[{body_of[e.body], std::string(e.event)}].push_back(&e);
  }
  std::map<std::string, std::vector<double>> errors;  // by body and event, seconds
  for (const test::ReferenceRow* r : rows) {
    if (!precise && !r->classic) continue;
    const auto& list = events[{r->body, r->event}];
    if (r->absent) {
      // The precise instants leave out what does not happen; the classic
      // method, bracketing with the lower limb, writes it.
      const bool within = std::any_of(list.begin(), list.end(), [&](const tEventData* e) {
        return std::fabs(e->jd_ut - r->ut) * 86400 <= r->tol_classic;
      });
      EXPECT_EQ(within, !precise) << "line " << r->line << ": " << BodyNames[r->body] << " " << r->event
                                  << " within " << r->tol_classic << " s of JD " << r->ut
                                  << ", where the upper limb stays above the horizon";
      continue;
    }
    const tEventData* best = nullptr;
    for (const tEventData* e : list)
      if (best == nullptr || std::fabs(e->jd_ut - r->ut) < std::fabs(best->jd_ut - r->ut)) best = e;
    const std::string what = "line " + std::to_string(r->line) + ": " + std::string(BodyNames[r->body]) + " " +
                             r->event + " at JD " + std::to_string(r->ut);
    if (best == nullptr || std::fabs(best->jd_ut - r->ut) > 0.25) {
      ADD_FAILURE() << what << ": no such event within 6 hours";
      continue;
    }
    const double error = (best->jd_ut - r->ut) * 86400;
    EXPECT_LE(std::fabs(error), precise ? r->tol_precise : r->tol_classic) << what << ": off by " << error << " s";
    if (r->check_local) {
      EXPECT_NEAR((best->jd_local - best->jd_ut) * 24, r->local_offset, 1e-3) << what << ": local time";
    }
    errors[std::string(BodyNames[r->body]) + " " + r->event].push_back(std::fabs(error));
  }
  return errors;
}

}  // namespace vk
