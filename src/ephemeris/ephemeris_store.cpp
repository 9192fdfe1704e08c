#include "ephemeris/ephemeris_store.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "base/error.h"
#include "base/parallel_for.h"
#include "base/whole_file.h"

namespace vk {

EphemerisStore::EphemerisStore() : EphemerisStore(kMaxEphemerisRows) {}

EphemerisStore::EphemerisStore(int capacity)
    : capacity_(capacity),
      rows_(MakeLargeArray<tEphemerisRow>(static_cast<std::size_t>(kBodyCount) * static_cast<std::size_t>(capacity))) {}

tEphemerisRow StoredRow(const tEphemerisData& r) {
  return {r.jd, r.ra, r.dec, r.mag, r.diameter, r.delta, r.ecl_lon, r.label};
}

namespace {

// The open file of a body, checked to hold all its rows. A longer file's
// further records are not read; one of more than twice the size is no
// binary file of a body.
std::unique_ptr<InputFile> OpenBody(const std::filesystem::path& path, std::size_t rows) {
  const std::size_t body_bytes = rows * sizeof(tEphemerisData);
  auto file = std::make_unique<InputFile>(path, 2 * body_bytes);
  // A short file is refused before a byte of it reaches the table.
  if (file->size() < body_bytes) throw Error(kReadBeyondEnd, path.string());
  return file;
}

void ReadBody(tEphemerisRow* table, InputFile& file, std::size_t rows) {
  // Read in chunks of whole records, each record's columns copied out.
  constexpr std::size_t kChunk = 4096;
  std::vector<tEphemerisData> buffer(kChunk);
  std::size_t row = 0;
  while (row < rows) {
    const std::size_t want = std::min(kChunk, rows - row) * sizeof(tEphemerisData);
    if (file.read(buffer.data(), want) != want) throw Error(kReadBeyondEnd, file.path().string());
    for (std::size_t i = 0; i < want / sizeof(tEphemerisData); ++i) table[row + i] = StoredRow(buffer[i]);
    row += want / sizeof(tEphemerisData);
  }
}

}  // namespace

void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir, const tPeriod& period) {
  const auto rows = static_cast<std::size_t>(period.rows());
  // The files are opened and checked in body order; the bodies before the
  // first missing or short one are read (on the machine's cores), as a load
  // one body after another would have read them, then its error is thrown.
  std::vector<std::unique_ptr<InputFile>> files;
  std::exception_ptr refused;
  for (int body = 0; body < kBodyCount && !refused; ++body) {
    try {
      files.push_back(OpenBody(dir / BinaryFileName(body, period), rows));
    } catch (const Error&) {
      refused = std::current_exception();
    }
  }
  ParallelFor(static_cast<int>(files.size()), std::min(2u, DefaultThreadCount()), [&](int body) {
    ReadBody(store.table(body), *files[static_cast<std::size_t>(body)], rows);
  });
  if (refused) std::rethrow_exception(refused);
  store.set_period(period);
}

}  // namespace vk
