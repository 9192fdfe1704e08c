// The committed table of reference instants (make_reference.py) and its reader.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vk::test {

struct ReferenceRow {
  int line = 0;             // line number in the table, from 1
  double lat = 0, lon = 0;  // degrees, north and east positive
  int zone = 0;             // row of the zone table
  int body = 0;             // 0 … 8
  std::string event;        // the program's event name
  double ut = 0;            // Julian day UT
  double tol_precise = 0;   // seconds
  bool absent = false;      // precise instants have no such event within tol_classic of ut
  double tol_classic = 0;   // seconds
  bool classic = true;      // checked with classic instants ("-": not)
  bool check_local = false;
  double local_offset = 0;  // hours from UT of the local time, when check_local
};

// The event names the table may use.
inline constexpr std::array<std::string_view, 27> kReferenceEvents = {
    "Aufgang", "Untergang", "wahrer Mittag", "MBurgD", "ABurgD", "MNautD", "ANautD", "MAstrD", "AAstrD",
    "Neumond", "Erstes Viertel", "Vollmond", "Letztes Viertel", "Frühlingsanfang (Ekliptik)",
    "Sommeranfang (Ekliptik)", "Herbstanfang (Ekliptik)", "Winteranfang (Ekliptik)", "in Konjunktion zur Sonne",
    "in Opposition zur Sonne", "in unterer Konjunktion zu Sonne", "in oberer Konjunktion zur Sonne", "in Erdnähe",
    "in Erdferne", "MGoldB", "MGoldE", "AGoldB", "AGoldE"};

// Reads the table text: lines starting with "#" and empty lines are skipped,
// every other line holds ten TAB-separated columns (lat, lon, zone, body,
// event, UT Julian day, tolerance precise or "absent", tolerance classic or
// "-", local offset or "-", UT text).
// Throws: std::runtime_error "line N: …" for a wrong number of columns, a
// malformed number, an unknown body or an unknown event.
std::vector<ReferenceRow> ParseReferenceTable(std::string_view text);

}  // namespace vk::test
