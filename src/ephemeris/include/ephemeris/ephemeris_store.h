// The nine ephemeris tables, one contiguous block allocated once, holding
// the columns of the files' rows that the computation reads.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>

#include "base/large_array.h"
#include "ephemeris/ephemeris_data.h"

namespace vk {

// The columns of an hourly row that the computation reads; units as in tEphemerisData.
struct tEphemerisRow {
  double jd;
  double ra;
  double dec;
  double mag;
  double diameter;
  double delta;
  double ecl_lon;
  tShortString3 label;
  friend bool operator==(const tEphemerisRow&, const tEphemerisRow&) = default;
};

// The stored columns of a file's row. Never fails.
tEphemerisRow StoredRow(const tEphemerisData& record);

class EphemerisStore {
 public:
  EphemerisStore();  // all rows zero

  // Row `row` (1 … kEphemerisRows) of body `body` (0 … 8). Unchecked.
  const tEphemerisRow& at(int body, int row) const { return rows_[index(body, row)]; }
  tEphemerisRow& at(int body, int row) { return rows_[index(body, row)]; }
  // The first row of a body's table; rows follow contiguously.
  tEphemerisRow* table(int body) { return &rows_[index(body, 1)]; }
  const tEphemerisRow* table(int body) const { return &rows_[index(body, 1)]; }

 private:
  static std::size_t index(int body, int row) {
    return static_cast<std::size_t>(body) * kEphemerisRows + static_cast<std::size_t>(row - 1);
  }
  LargeArray<tEphemerisRow> rows_;
};

// Loads the nine binary files of `dir` into the tables, body 0 to 8, the
// first kEphemerisRows records of each (StoredRow); records beyond those are ignored.
// Throws: Error "File not found" or "Read beyond end of file" (the file named)
// at the first failing body; earlier bodies hold the new rows, that body and
// the later ones keep their previous rows.
void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir = ".");

// LoadEphemeris, the rows read a block at a time on `threads` threads (0:
// one per core): as soon as rows first … last of all nine bodies are in the
// tables, `loaded(first, last)` runs on the thread that read them, while they
// are still in the cache. The blocks cover rows 1 … kEphemerisRows once,
// in increasing order on each thread. Throws: as LoadEphemeris when a file is
// missing or short, after the bodies before it are read and before `loaded`
// runs; an error reading a checked file (one cut short meanwhile) after
// the blocks begun have ended, with the tables partly new; the first
// exception `loaded` throws likewise.
void LoadEphemerisBlocks(EphemerisStore& store, const std::filesystem::path& dir, unsigned threads,
                         const std::function<void(int first, int last)>& loaded);

}  // namespace vk
