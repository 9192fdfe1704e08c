// The nine ephemeris tables, one contiguous block allocated once, holding
// the columns of the files' rows that the computation reads.
#pragma once
#include <filesystem>
#include <memory>

#include "base/large_array.h"
#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"

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
  EphemerisStore();  // all rows zero, the documented decade's count, room for kMaxEphemerisRows rows a body
  // Room for `capacity` rows a body (the hours around a period, say).
  explicit EphemerisStore(int capacity);

  // The rows each table holds now (kEphemerisRows for the documented decade,
  // at most capacity()) and the period they belong to.
  int rows() const { return row_count_; }
  int capacity() const { return capacity_; }
  const tPeriod& period() const { return period_; }
  // The store holds the period's own rows.
  void set_period(const tPeriod& period) {
    period_ = period;
    row_count_ = period.rows();
  }
  // The store holds `rows` rows (at most capacity()) of hours around `period`.
  void set_rows(const tPeriod& period, int rows) {
    period_ = period;
    row_count_ = rows;
  }

  // Row `row` (1 … rows()) of body `body` (0 … 8). Unchecked.
  const tEphemerisRow& at(int body, int row) const { return rows_[index(body, row)]; }
  tEphemerisRow& at(int body, int row) { return rows_[index(body, row)]; }
  // The first row of a body's table; rows follow contiguously.
  tEphemerisRow* table(int body) { return &rows_[index(body, 1)]; }
  const tEphemerisRow* table(int body) const { return &rows_[index(body, 1)]; }

 private:
  std::size_t index(int body, int row) const {
    return static_cast<std::size_t>(body) * static_cast<std::size_t>(capacity_) + static_cast<std::size_t>(row - 1);
  }
  int capacity_;
  LargeArray<tEphemerisRow> rows_;
  tPeriod period_ = kDocumentedPeriod;
  int row_count_ = kDocumentedPeriod.rows();
};

// Loads the nine binary files of `period` in `dir` into the tables, body 0 to
// 8, the first period.rows() records of each (StoredRow); records beyond
// those are ignored. The store then belongs to `period`.
// Throws: Error "File not found" or "Read beyond end of file" (the file named)
// at the first failing body; earlier bodies hold the new rows, that body and
// the later ones keep their previous rows (the store's period is then unchanged).
void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir = ".",
                   const tPeriod& period = kDocumentedPeriod);

}  // namespace vk
