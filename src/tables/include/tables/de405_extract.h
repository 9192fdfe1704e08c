// The DE405 extract: Chebyshev records of JPL's DE405 for a span of dates,
// read from the compact file that scripts/extract_de405.py writes (layout in
// data/de405/README.md), and their evaluation.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vk::ephemgen {

// The items of the extract, in DE405's order.
enum class De405Item : int {
  Mercury = 0,
  Venus = 1,
  EarthMoonBarycentre = 2,
  Mars = 3,    // system barycentre, as Jupiter … Pluto
  Jupiter = 4,
  Saturn = 5,
  Uranus = 6,
  Neptune = 7,
  Pluto = 8,
  MoonGeocentric = 9,
  Sun = 10,
};
inline constexpr int kDe405Items = 11;

// Position (km) and velocity (km/day), ICRF axes.
struct tStateVector {
  std::array<double, 3> p{};
  std::array<double, 3> v{};
};

class De405Extract {
 public:
  // Reads and checks a whole extract file.
  // Throws: Error with the file's name as its file and one of the texts
  //   "File not found"; "Cannot open file"; "Read error"; "Not a DE405
  //   extract" (wrong magic, layout version or DE number); "Truncated DE405
  //   extract: N bytes, M expected" (shorter or longer than its header says,
  //   or "…, the header alone needs 64"); "Damaged DE405 extract: …"
  //   (impossible header values or pointer table, a checksum mismatch,
  //   records overlapping, out of order or not 32 days long).
  static De405Extract Load(const std::filesystem::path& path);

  // The TDB MJDs where the file's first record starts and its last ends,
  // from its header and those two records alone (no checksum: Load checks the
  // whole file when it is used). Throws: as Load, save the checksum and the
  // order of the records between the two.
  static std::pair<double, double> ReadSpan(const std::filesystem::path& path);

  // The records holding TDB MJDs `spans` (each first, last) alone, read
  // without the rest of the file when its records follow one another without
  // gaps (else the whole file, as Load). The header, the pointer table and
  // the records read are checked as Load checks them, their values finite;
  // the whole file's checksum is checked when tables are made from it.
  // Throws: as Load, save the checksum; "No DE405 record for TDB …" (see
  //   State) for a span beyond the file's records; "No DE405 record asked
  //   for" when `spans` is empty.
  static De405Extract LoadSpans(const std::filesystem::path& path, std::span<const std::pair<double, double>> spans);

  // State of one item at an instant of Barycentric Dynamical Time given as a
  // two-part Julian date (any split; tdb1 + tdb2). Barycentric for every item
  // except MoonGeocentric. Units: km and km/day.
  // Throws: Error "No DE405 record for TDB <calendar> (JD …); the extract
  //   covers …" with the file's name when no record holds the instant.
  tStateVector State(De405Item item, double tdb1, double tdb2) const;

  // The Earth's barycentric state: EMB − Moon/(1 + EMRAT). Throws: as State.
  tStateVector Earth(double tdb1, double tdb2) const;
  // The Moon's barycentric state: Earth + geocentric Moon. Throws: as State.
  tStateVector MoonBarycentric(double tdb1, double tdb2) const;

  double au_km() const { return au_km_; }            // DE405's astronomical unit, km
  double emrat() const { return emrat_; }            // Earth/Moon mass ratio
  double clight_km_s() const { return clight_; }     // km/s
  std::size_t record_count() const { return starts_.size(); }
  double first_mjd() const { return starts_.front(); }  // TDB MJD where the first record starts
  double last_mjd() const { return ends_.back(); }      // TDB MJD where the last record ends
  const std::filesystem::path& path() const { return path_; }

 private:
  struct Item {
    int offset;  // 1-based index of the first coefficient in a record
    int count;   // coefficients per component and sub-interval
    int subs;    // sub-intervals per record
  };
  // Index of the record holding TDB MJD `mjd` (= tdb1 + tdb2 − 2400000.5; the
  // two parts only for the message). Throws: Error, see State.
  std::size_t FindRecord(double mjd, double tdb1, double tdb2) const;
  // The pointer table from `table` (12 bytes an item). Throws: Error "Damaged
  // DE405 extract: impossible pointer table" naming `name`.
  void TakePointers(const char* table, const std::string& name);
  // `count` records appended after those taken, checked for their length and
  // order. Throws: Error "Damaged DE405 extract: records out of order".
  void TakeRecords(const char* records, std::size_t count, const std::string& name);

  std::filesystem::path path_;
  double days_per_record_ = 32;
  double au_km_ = 0;
  double emrat_ = 0;
  double clight_ = 0;
  std::uint32_t record_doubles_ = 0;
  std::array<Item, kDe405Items> items_{};
  std::vector<double> starts_;  // TDB MJD at the start of each record, ascending
  std::vector<double> ends_;    // TDB MJD at the end
  std::vector<double> coeffs_;  // all records, record_doubles_ each
  bool gaps_ = false;           // some record does not start where the one before ends
};

// "2032-03-05 12:00:00.000" for a two-part Julian date: for messages.
std::string FormatJulianInstant(double jd1, double jd2);

}  // namespace vk::ephemgen
