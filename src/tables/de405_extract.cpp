#include "tables/de405_extract.h"

#include <erfa.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/error.h"
#include "base/number_text.h"

namespace vk::ephemgen {
namespace {

constexpr char kMagic[8] = {'V', 'K', 'D', 'E', '4', '0', '5', '\0'};
constexpr std::uint32_t kLayoutVersion = 1;
constexpr std::size_t kFixedHeader = 64;  // bytes before the pointer table
constexpr double kMjdZero = 2400000.5;

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

De405Extract De405Extract::Load(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(std::filesystem::exists(path) ? "Cannot open file" : kFileNotFound, name);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw Error("Read error", name);

  if (bytes.size() < kFixedHeader) {
    if (bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0)
      throw Error("Truncated DE405 extract: " + std::to_string(bytes.size()) + " bytes, the header alone needs " +
                      std::to_string(kFixedHeader),
                  name);
    throw Error("Not a DE405 extract", name);
  }
  if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 || Get<std::uint32_t>(bytes, 8) != kLayoutVersion ||
      Get<std::uint32_t>(bytes, 12) != 405)
    throw Error("Not a DE405 extract", name);

  De405Extract x;
  x.path_ = path;
  const std::uint32_t records = Get<std::uint32_t>(bytes, 16);
  x.record_doubles_ = Get<std::uint32_t>(bytes, 20);
  const std::uint32_t items = Get<std::uint32_t>(bytes, 24);
  x.days_per_record_ = Get<double>(bytes, 32);
  x.au_km_ = Get<double>(bytes, 40);
  x.emrat_ = Get<double>(bytes, 48);
  x.clight_ = Get<double>(bytes, 56);
  if (items != kDe405Items || records == 0 || records > 100000 || x.record_doubles_ < 3 ||
      x.record_doubles_ > 4096 || !(x.days_per_record_ > 0) || !(x.au_km_ > 0) || !(x.emrat_ > 0) ||
      !(x.clight_ > 0))
    throw Error("Damaged DE405 extract: impossible header values", name);

  const std::size_t table_end = kFixedHeader + 12 * std::size_t{items};
  const std::size_t expected = table_end + std::size_t{records} * x.record_doubles_ * 8 + 8;
  if (bytes.size() != expected)
    throw Error("Truncated DE405 extract: " + std::to_string(bytes.size()) + " bytes, " + std::to_string(expected) +
                    " expected",
                name);
  const std::uint64_t stored_sum = Get<std::uint64_t>(bytes, expected - 8);
  if (Fnv1a64(bytes.data(), expected - 8) != stored_sum)
    throw Error("Damaged DE405 extract: checksum mismatch", name);

  for (std::uint32_t i = 0; i < items; ++i) {
    Item& it = x.items_[i];
    it.offset = Get<std::int32_t>(bytes, kFixedHeader + 12 * i);
    it.count = Get<std::int32_t>(bytes, kFixedHeader + 12 * i + 4);
    it.subs = Get<std::int32_t>(bytes, kFixedHeader + 12 * i + 8);
    if (it.offset < 3 || it.count < 2 || it.count > 32 || it.subs < 1 ||
        static_cast<std::int64_t>(it.offset) - 1 + 3LL * it.count * it.subs > x.record_doubles_)
      throw Error("Damaged DE405 extract: impossible pointer table", name);
  }

  x.coeffs_.resize(std::size_t{records} * x.record_doubles_);
  std::memcpy(x.coeffs_.data(), bytes.data() + table_end, x.coeffs_.size() * sizeof(double));
  x.starts_.resize(records);
  x.ends_.resize(records);
  for (std::uint32_t r = 0; r < records; ++r) {
    const double* rec = &x.coeffs_[std::size_t{r} * x.record_doubles_];
    x.starts_[r] = rec[0];
    x.ends_[r] = rec[1];
    if (!(std::fabs(rec[1] - rec[0] - x.days_per_record_) < 1e-9) || (r > 0 && rec[0] < x.ends_[r - 1]))
      throw Error("Damaged DE405 extract: records out of order", name);
    if (r > 0 && rec[0] != x.ends_[r - 1]) x.gaps_ = true;
  }
  return x;
}

std::size_t De405Extract::FindRecord(double mjd, double tdb1, double tdb2) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), mjd);
  if (after != starts_.begin()) {
    const std::size_t r = static_cast<std::size_t>(after - starts_.begin()) - 1;
    if (mjd <= ends_[r]) return r;
  }
  throw Error("No DE405 record for TDB " + FormatJulianInstant(tdb1, tdb2) + " (JD " + FormatFixed(tdb1 + tdb2, 6) +
                  "); the extract covers TDB " + FormatJulianInstant(kMjdZero, starts_.front()) + " to " +
                  FormatJulianInstant(kMjdZero, ends_.back()) +
                  (gaps_ ? " with gaps" : ""),
              path_.string());
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
