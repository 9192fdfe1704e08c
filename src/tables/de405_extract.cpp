#include "tables/de405_extract.h"

#include <erfa.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/error.h"
#include "base/number_text.h"
#include "base/whole_file.h"

namespace vk::ephemgen {
namespace {

constexpr char kMagic[8] = {'V', 'K', 'D', 'E', '4', '0', '5', '\0'};
constexpr std::uint32_t kLayoutVersion = 1;
constexpr std::size_t kFixedHeader = 64;  // bytes before the pointer table
constexpr double kMjdZero = 2400000.5;
constexpr std::uint64_t kLargestExtract = 256 * kMiB;  // DE405 whole is about 60 MB

template <typename T>
T Get(const std::string& bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

std::uint64_t Fnv1a64(const char* data, std::size_t size) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < size; ++i) {
    h ^= static_cast<unsigned char>(data[i]);
    h *= 0x100000001B3ull;
  }
  return h;
}

}  // namespace

std::string FormatJulianInstant(double jd1, double jd2) {
  int iy = 0, im = 0, id = 0;
  double fd = 0;
  // Split so that the day fraction stays accurate, then round to milliseconds.
  const double whole = std::floor(jd1 - 0.5) + 0.5;
  const double frac = (jd1 - whole) + jd2;
  if (eraJd2cal(whole, frac, &iy, &im, &id, &fd) != 0) return "JD " + FormatFixed(jd1 + jd2, 6);
  long long ms = std::llround(fd * 86400000.0);
  if (ms >= 86400000LL) {  // rounded up into the next day
    eraJd2cal(whole + 1, 0, &iy, &im, &id, &fd);
    ms = 0;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02lld:%02lld:%02lld.%03lld", iy, im, id, ms / 3600000,
                ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return buf;
}

namespace {

// No record holds TDB tdb1 + tdb2 (a two-part Julian date) in an extract of
// records from TDB MJD `first` to `last`.
Error NoRecord(double tdb1, double tdb2, double first, double last, bool gaps, const std::string& name) {
  return Error("No DE405 record for TDB " + FormatJulianInstant(tdb1, tdb2) + " (JD " + FormatFixed(tdb1 + tdb2, 6) +
                   "); the extract covers TDB " + FormatJulianInstant(kMjdZero, first) + " to " +
                   FormatJulianInstant(kMjdZero, last) + (gaps ? " with gaps" : ""),
               name);
}

// `count` bytes at `offset` of `in`. Throws: Error "Read error" naming the
// file when it ends before.
std::string ReadAt(InputFile& in, std::size_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  if (in.read_at(bytes.data(), count, offset) != count) throw Error("Read error", in.path().string());
  return bytes;
}

// The fixed header's values, checked against each other and the file's size.
struct Header {
  std::uint32_t records = 0, record_doubles = 0, items = 0;
  double days_per_record = 0, au_km = 0, emrat = 0, clight = 0;
  std::size_t table_end = 0;  // where the first record starts
  std::size_t expected = 0;   // the file's size, checksum included
};

// `head` holds the file's first min(size, kFixedHeader) bytes; `size` is the file's.
// Throws: Error naming `name`, as De405Extract::Load.
Header CheckedHeader(const std::string& head, std::size_t size, const std::string& name) {
  if (size < kFixedHeader) {
    if (head.size() >= sizeof kMagic && std::memcmp(head.data(), kMagic, sizeof kMagic) == 0)
      throw Error("Truncated DE405 extract: " + std::to_string(size) + " bytes, the header alone needs " +
                      std::to_string(kFixedHeader),
                  name);
    throw Error("Not a DE405 extract", name);
  }
  if (std::memcmp(head.data(), kMagic, sizeof kMagic) != 0 || Get<std::uint32_t>(head, 8) != kLayoutVersion ||
      Get<std::uint32_t>(head, 12) != 405)
    throw Error("Not a DE405 extract", name);

  Header h;
  h.records = Get<std::uint32_t>(head, 16);
  h.record_doubles = Get<std::uint32_t>(head, 20);
  h.items = Get<std::uint32_t>(head, 24);
  h.days_per_record = Get<double>(head, 32);
  h.au_km = Get<double>(head, 40);
  h.emrat = Get<double>(head, 48);
  h.clight = Get<double>(head, 56);
  if (h.items != kDe405Items || h.records == 0 || h.records > 100000 || h.record_doubles < 3 ||
      h.record_doubles > 4096 || !(h.days_per_record > 0) || !(h.au_km > 0) || !(h.emrat > 0) || !(h.clight > 0))
    throw Error("Damaged DE405 extract: impossible header values", name);

  h.table_end = kFixedHeader + 12 * std::size_t{h.items};
  h.expected = h.table_end + std::size_t{h.records} * h.record_doubles * 8 + 8;
  if (size != h.expected)
    throw Error("Truncated DE405 extract: " + std::to_string(size) + " bytes, " + std::to_string(h.expected) +
                    " expected",
                name);
  return h;
}

}  // namespace

De405Extract De405Extract::Load(const std::filesystem::path& path) {
  const std::string name = path.string();
  const std::string bytes = ReadWholeFile(path, kLargestExtract);
  const Header h = CheckedHeader(bytes, bytes.size(), name);
  De405Extract x;
  x.path_ = path;
  const std::uint32_t records = h.records;
  x.record_doubles_ = h.record_doubles;
  x.days_per_record_ = h.days_per_record;
  x.au_km_ = h.au_km;
  x.emrat_ = h.emrat;
  x.clight_ = h.clight;
  const std::size_t table_end = h.table_end;
  const std::size_t expected = h.expected;
  const std::uint64_t stored_sum = Get<std::uint64_t>(bytes, expected - 8);
  if (Fnv1a64(bytes.data(), expected - 8) != stored_sum)
    throw Error("Damaged DE405 extract: checksum mismatch", name);

  x.TakePointers(bytes.data() + kFixedHeader, name);
  x.TakeRecords(bytes.data() + table_end, records, name);
  return x;
}

void De405Extract::TakePointers(const char* table, const std::string& name) {
  for (int i = 0; i < kDe405Items; ++i) {
    Item& it = items_[static_cast<std::size_t>(i)];
    std::int32_t v[3];
    std::memcpy(v, table + 12 * i, sizeof v);
    it = {v[0], v[1], v[2]};
    if (it.offset < 3 || it.count < 2 || it.count > 32 || it.subs < 1 ||
        static_cast<std::int64_t>(it.offset) - 1 + 3LL * it.count * it.subs > record_doubles_)
      throw Error("Damaged DE405 extract: impossible pointer table", name);
  }
}

void De405Extract::TakeRecords(const char* records, std::size_t count, const std::string& name) {
  const std::size_t had = starts_.size();
  coeffs_.resize((had + count) * record_doubles_);
  std::memcpy(coeffs_.data() + had * record_doubles_, records, count * record_doubles_ * sizeof(double));
  for (std::size_t r = had; r < had + count; ++r) {
    const double* rec = &coeffs_[r * record_doubles_];
    if (!(std::fabs(rec[1] - rec[0] - days_per_record_) < 1e-9) || (r > 0 && !(rec[0] >= ends_.back())))
      throw Error("Damaged DE405 extract: records out of order", name);
    if (r > 0 && rec[0] != ends_.back()) gaps_ = true;
    starts_.push_back(rec[0]);
    ends_.push_back(rec[1]);
  }
}

De405Extract De405Extract::LoadSpans(const std::filesystem::path& path,
                                     std::span<const std::pair<double, double>> spans) {
  const std::string name = path.string();
  InputFile in(path, kLargestExtract);
  const auto read = [&](std::size_t offset, std::size_t count) { return ReadAt(in, offset, count); };
  const std::size_t size = in.size();
  const Header h = CheckedHeader(read(0, std::min(size, kFixedHeader)), size, name);
  De405Extract x;
  x.path_ = path;
  x.record_doubles_ = h.record_doubles;
  x.days_per_record_ = h.days_per_record;
  x.au_km_ = h.au_km;
  x.emrat_ = h.emrat;
  x.clight_ = h.clight;
  x.TakePointers(read(kFixedHeader, h.table_end - kFixedHeader).data(), name);
  const std::size_t record_bytes = std::size_t{h.record_doubles} * 8;
  const auto record_at = [&](std::size_t r) { return h.table_end + r * record_bytes; };
  const double first_start = Get<double>(read(record_at(0), 8), 0);
  const double last_end = Get<double>(read(record_at(h.records - 1) + 8, 8), 0);
  // The records a span needs, where they lie when none leaves a gap: the
  // last one ends where the records' count says.
  const bool gapless = last_end == first_start + h.records * h.days_per_record;
  if (!gapless) return Load(path);
  std::vector<std::pair<std::size_t, std::size_t>> wanted;  // first, end record
  for (const auto& [first, last] : spans) {
    for (const double mjd : {first, last})
      if (!(mjd >= first_start && mjd <= last_end)) throw NoRecord(kMjdZero, mjd, first_start, last_end, false, name);
    const auto record = [&](double mjd) {
      return std::min(static_cast<std::size_t>((mjd - first_start) / h.days_per_record), std::size_t{h.records} - 1);
    };
    wanted.emplace_back(record(first), record(std::max(first, last)) + 1);
  }
  std::sort(wanted.begin(), wanted.end());
  std::size_t next = 0;  // records before it are taken
  for (auto [from, to] : wanted) {
    from = std::max(from, next);
    if (from >= to) continue;
    const std::string bytes = read(record_at(from), (to - from) * record_bytes);
    for (std::size_t i = 0; i < bytes.size() / 8; ++i)
      if (!std::isfinite(Get<double>(bytes, 8 * i))) throw Error("Damaged DE405 extract: a value that is no number", name);
    x.TakeRecords(bytes.data(), to - from, name);
    for (std::size_t r = from; r < to; ++r)
      if (x.starts_[x.starts_.size() - (to - r)] != first_start + static_cast<double>(r) * h.days_per_record)
        throw Error("Damaged DE405 extract: records out of order", name);
    next = to;
  }
  if (x.starts_.empty()) throw Error("No DE405 record asked for", name);
  return x;
}

std::pair<double, double> De405Extract::ReadSpan(const std::filesystem::path& path) {
  const std::string name = path.string();
  InputFile in(path, kLargestExtract);
  const auto read = [&](std::size_t offset, std::size_t count) { return ReadAt(in, offset, count); };
  const std::size_t size = in.size();
  const Header h = CheckedHeader(read(0, std::min(size, kFixedHeader)), size, name);
  const std::string first = read(h.table_end, 16);
  const std::string last = read(h.table_end + (std::size_t{h.records} - 1) * h.record_doubles * 8, 16);
  const double start = Get<double>(first, 0), end = Get<double>(last, 8);
  if (!(std::fabs(Get<double>(first, 8) - start - h.days_per_record) < 1e-9) ||
      !(std::fabs(end - Get<double>(last, 0) - h.days_per_record) < 1e-9) || !(end > start))
    throw Error("Damaged DE405 extract: records out of order", name);
  return {start, end};
}

std::size_t De405Extract::FindRecord(double mjd, double tdb1, double tdb2) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), mjd);
  if (after != starts_.begin()) {
    const std::size_t r = static_cast<std::size_t>(after - starts_.begin()) - 1;
    if (mjd <= ends_[r]) return r;
  }
  throw NoRecord(tdb1, tdb2, starts_.front(), ends_.back(), gaps_, path_.string());
}

tStateVector De405Extract::State(De405Item item, double tdb1, double tdb2) const {
  const double mjd = (tdb1 - kMjdZero) + tdb2;
  const std::size_t r = FindRecord(mjd, tdb1, tdb2);
  const Item& it = items_[static_cast<int>(item)];
  const double* rec = &coeffs_[r * record_doubles_];

  const double span = (ends_[r] - starts_[r]) / it.subs;  // days per sub-interval
  const double dt = mjd - starts_[r];
  const int sub = std::min(static_cast<int>(std::floor(dt / span)), it.subs - 1);
  const double tau = 2 * (dt - sub * span) / span - 1;

  // Chebyshev polynomials T_k(tau) and their derivatives.
  std::array<double, 32> t{}, dt_dtau{};
  t[0] = 1;
  t[1] = tau;
  dt_dtau[0] = 0;
  dt_dtau[1] = 1;
  for (int k = 2; k < it.count; ++k) {
    t[k] = 2 * tau * t[k - 1] - t[k - 2];
    dt_dtau[k] = 2 * tau * dt_dtau[k - 1] + 2 * t[k - 1] - dt_dtau[k - 2];
  }
  tStateVector s;
  const double* c = rec + (it.offset - 1) + static_cast<std::size_t>(sub) * 3 * it.count;
  for (int axis = 0; axis < 3; ++axis, c += it.count) {
    double p = 0, v = 0;
    for (int k = it.count - 1; k >= 0; --k) {  // smallest terms first
      p += c[k] * t[k];
      v += c[k] * dt_dtau[k];
    }
    s.p[axis] = p;
    s.v[axis] = v * 2 / span;
  }
  return s;
}

tStateVector De405Extract::Earth(double tdb1, double tdb2) const {
  const tStateVector emb = State(De405Item::EarthMoonBarycentre, tdb1, tdb2);
  const tStateVector moon = State(De405Item::MoonGeocentric, tdb1, tdb2);
  tStateVector e;
  for (int i = 0; i < 3; ++i) {
    e.p[i] = emb.p[i] - moon.p[i] / (1 + emrat_);
    e.v[i] = emb.v[i] - moon.v[i] / (1 + emrat_);
  }
  return e;
}

tStateVector De405Extract::MoonBarycentric(double tdb1, double tdb2) const {
  const tStateVector emb = State(De405Item::EarthMoonBarycentre, tdb1, tdb2);
  const tStateVector moon = State(De405Item::MoonGeocentric, tdb1, tdb2);
  tStateVector m;
  for (int i = 0; i < 3; ++i) {
    m.p[i] = emb.p[i] + moon.p[i] * (emrat_ / (1 + emrat_));
    m.v[i] = emb.v[i] + moon.v[i] * (emrat_ / (1 + emrat_));
  }
  return m;
}

}  // namespace vk::ephemgen
