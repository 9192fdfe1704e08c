// The IAU constellation boundaries of Roman (1987), CDS catalogue VI/42:
// which constellation a direction lies in.
#pragma once
#include <filesystem>
#include <string_view>
#include <vector>

namespace vk::ephemgen {

class ConstellationTable {
 public:
  // Reads the boundary table: one row per line, "RA_low_h RA_high_h
  // Dec_low_deg Abbr", sorted by descending Dec_low; lines starting with "#"
  // and empty lines are skipped.
  // Throws: Error "File not found" or "Cannot open file"; Error "Bad
  //   constellation boundary row N: '…'" for a row that does not parse, holds
  //   values out of range or breaks the order; Error "No constellation
  //   boundary rows" for an empty table. Each with the file's name.
  static ConstellationTable Load(const std::filesystem::path& path);

  // The IAU abbreviation ("Sgr") for a direction referred to the mean equator
  // and equinox of B1875.0: ra_hours in [0, 24), dec_deg in [−90, 90].
  // Returns: the first row with dec ≥ Dec_low and RA_low ≤ ra < RA_high.
  //   Never fails for directions in range (the last row, "Oct", reaches −90).
  //   Input out of range returns "???".
  std::string_view Find(double ra_hours, double dec_deg) const;

  // The same for a unit vector in the ICRF: rotated to B1875.0 first
  // (IAU 2006 precession with frame bias).
  std::string_view FindIcrf(const double icrf[3]) const;

  std::size_t size() const { return rows_.size(); }

 private:
  struct Row {
    double ra_low, ra_high, dec_low;
    char abbr[4];
  };
  std::vector<Row> rows_;
  double to_b1875_[3][3] = {};
};

}  // namespace vk::ephemgen
