// The nine ephemeris tables, one contiguous block allocated once.
#pragma once
#include <filesystem>
#include <memory>

#include "ephemeris/ephemeris_data.h"

namespace vk {

class EphemerisStore {
 public:
  EphemerisStore();  // all rows zero

  // Row `row` (1 … kEphemerisRows) of body `body` (0 … 8). Unchecked.
  const tEphemerisData& at(int body, int row) const { return rows_[index(body, row)]; }
  tEphemerisData& at(int body, int row) { return rows_[index(body, row)]; }
  // The first row of a body's table; rows follow contiguously.
  tEphemerisData* table(int body) { return &rows_[index(body, 1)]; }
  const tEphemerisData* table(int body) const { return &rows_[index(body, 1)]; }

 private:
  static std::size_t index(int body, int row) {
    return static_cast<std::size_t>(body) * kEphemerisRows + static_cast<std::size_t>(row - 1);
  }
  std::unique_ptr<tEphemerisData[]> rows_;
};

// Loads the nine binary files of `dir` into the tables, body 0 to 8, each with
// one block read of kEphemerisRows records; records beyond those are ignored.
// Throws: Error "File not found" or "Read beyond end of file" (the file named)
// at the first failing body; earlier bodies hold the new rows, that body and
// the later ones keep their previous rows.
void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir = ".");

}  // namespace vk
