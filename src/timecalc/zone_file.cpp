#include "timecalc/zone_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <cstdlib>

#include "base/error.h"
#include "base/whole_file.h"
#include "posix_tz.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace vk {
namespace {


class Reader {
 public:
  Reader(const std::string& bytes, const std::string& name) : b_(bytes), name_(name) {}
  void need(std::size_t n) const {
    if (pos_ + n > b_.size()) throw Error(kReadBeyondEnd, name_);
  }
  std::int64_t be(int width) {
    need(static_cast<std::size_t>(width));
    std::uint64_t v = 0;
    for (int i = 0; i < width; ++i) v = v << 8 | static_cast<unsigned char>(b_[pos_++]);
    if (width == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return static_cast<std::int64_t>(v);
  }
  unsigned byte() { return static_cast<unsigned>(be(1)); }
  void skip(std::size_t n) {
    need(n);
    pos_ += n;
  }
  std::size_t pos() const { return pos_; }
  const std::string& bytes() const { return b_; }

 private:
  const std::string& b_;
  const std::string& name_;
  std::size_t pos_ = 0;
};

struct Header {
  char version;
  std::size_t isut, isstd, leap, time, type, chars;
};

Header ReadHeader(Reader& r, const std::string& name) {
  r.need(44);
  if (r.bytes().compare(r.pos(), 4, "TZif") != 0) throw Error(kNotZoneFile, name);
  r.skip(4);
  const char version = static_cast<char>(r.byte());
  r.skip(15);
  Header h{version, 0, 0, 0, 0, 0, 0};
  for (std::size_t* c : {&h.isut, &h.isstd, &h.leap, &h.time, &h.type, &h.chars}) {
    const std::int64_t v = r.be(4);
    if (v < 0 || v > 1000000) throw Error(kNotZoneFile, name);
    *c = static_cast<std::size_t>(v);
  }
  if (h.type == 0 || h.chars == 0) throw Error(kNotZoneFile, name);
  return h;
}

std::size_t DataSize(const Header& h, std::size_t time_width) {
  return h.time * time_width + h.time + h.type * 6 + h.chars + h.leap * (time_width + 4) + h.isstd + h.isut;
}

double UnixToJD(std::int64_t t) { return 2440587.5 + static_cast<double>(t) / 86400.0; }

// The Gregorian year of a Julian day within the years the tables cover.
int YearOf(double jd) { return 1970 + static_cast<int>(std::floor((jd - 2440587.5) / 365.2425)); }

}  // namespace

std::filesystem::path ZoneInfoDir() {
  const char* dir = std::getenv("TZDIR");
  return dir && *dir ? std::filesystem::path(dir) : std::filesystem::path("/usr/share/zoneinfo");
}

bool IsZoneName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.back() == '/') return false;
  std::size_t part_start = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '/') {
      const std::string part = name.substr(part_start, i - part_start);
      if (part.empty() || part == "." || part == "..") return false;
      part_start = i + 1;
      continue;
    }
    const char c = name[i];
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                    c == '-' || c == '+' || c == '.';
    if (!ok) return false;
  }
  return true;
}

ZoneTable ParseZoneFile(const std::string& bytes, const std::string& name, double jd_from, double jd_to) {
  Reader r(bytes, name);
  Header h = ReadHeader(r, name);
  std::size_t width = 4;
  if (h.version >= '2') {
    // Skip the 32-bit block; the 64-bit one follows with its own header.
    r.skip(DataSize(h, 4));
    h = ReadHeader(r, name);
    width = 8;
  }
  r.need(DataSize(h, width));
  const auto damaged = [&](const std::string& why) { return Error(std::string(kDamagedZoneFile) + ": " + why, name); };
  std::vector<std::int64_t> times(h.time);
  for (std::size_t k = 0; k < times.size(); ++k) {
    times[k] = r.be(static_cast<int>(width));
    if (k > 0 && times[k] <= times[k - 1])
      throw damaged("transition " + std::to_string(k + 1) + " does not follow the one before");
  }
  std::vector<unsigned> index(h.time);
  for (auto& i : index) {
    i = r.byte();
    if (i >= h.type) throw Error(kNotZoneFile, name);
  }
  struct Type {
    int offset;
    bool dst;
    unsigned abbr;
  };
  std::vector<Type> types(h.type);
  for (auto& t : types) {
    const std::int64_t offset = r.be(4);
    if (offset < -kMaxZoneOffset || offset > kMaxZoneOffset)
      throw damaged("UT offset " + std::to_string(offset) + " s beyond 26 hours");
    t.offset = static_cast<int>(offset);
    t.dst = r.byte() != 0;
    t.abbr = r.byte();
    if (t.abbr >= h.chars) throw Error(kNotZoneFile, name);
  }
  const std::string chars = bytes.substr(r.pos(), h.chars);
  for (const Type& t : types) {
    const std::size_t end = chars.find('\0', t.abbr);
    if (end == std::string::npos) throw damaged("an abbreviation without its end");
    for (std::size_t i = t.abbr; i < end; ++i)
      if (chars[i] < 0x20 || chars[i] > 0x7E)
        throw damaged("abbreviation " + QuoteInput(chars.substr(t.abbr, end - t.abbr)) + " not printable ASCII");
  }
  // The footer of a version 2 file or later: "\n<TZ string>\n", the rule
  // after the last transition.
  std::optional<PosixZone> footer;
  if (width == 8) {
    const std::size_t at = r.pos() + DataSize(h, width) - (h.time * width + h.time + h.type * 6);
    const std::size_t end = at < bytes.size() && bytes[at] == '\n' ? bytes.find('\n', at + 1) : std::string::npos;
    if (end == std::string::npos) throw damaged("no footer line");
    const std::string text = bytes.substr(at + 1, end - at - 1);
    std::string why;
    if (!text.empty() && !(footer = ParsePosixZone(text, why)))
      throw damaged("footer " + QuoteInput(text) + ": " + why);
  }
  const auto entry = [&](double jd, unsigned type) {
    const Type& t = types[type];
    return ZoneTransition{jd, t.offset, t.dst, std::string(chars.c_str() + t.abbr)};
  };
  const auto from_footer = [&](double jd, bool summer) {
    const PosixZone::Time& t = summer ? *footer->summer : footer->standard;
    return ZoneTransition{jd, t.offset, summer, t.abbreviation};
  };
  ZoneTable table;
  table.name = name;
  std::size_t k = 0;
  for (; k < times.size() && UnixToJD(times[k]) <= jd_from; ++k) {
  }
  // The rule of the footer holds after the last transition (all the time in
  // a file without any): its switches of the years of the span, from the
  // year before, after the last transition.
  std::vector<PosixTransition> rule;
  if (footer)
    for (const PosixTransition& t : PosixTransitions(*footer, YearOf(jd_from) - 1, YearOf(jd_to) + 1))
      if (times.empty() || t.unix_time > times.back()) rule.push_back(t);
  ZoneTransition first = entry(jd_from, k > 0 ? index[k - 1] : 0);
  if (footer && k == times.size()) {
    const auto before = std::find_if(rule.rbegin(), rule.rend(),
                                     [&](const PosixTransition& t) { return UnixToJD(t.unix_time) <= jd_from; });
    if (before != rule.rend()) first = from_footer(jd_from, before->summer);
    else if (!footer->summer) first = from_footer(jd_from, false);
  }
  table.transitions.push_back(first);
  // A switch to the time already in force (the rule's first end of summer
  // time after a change of standard time) is none, and left out; of two at
  // one instant (a rule of summer time all year, "EST5EDT,0/0,J365/25") the
  // later holds.
  const auto add = [&](ZoneTransition z) {
    if (table.transitions.size() > 1 && z.jd_ut <= table.transitions.back().jd_ut) table.transitions.pop_back();
    const ZoneTransition& last = table.transitions.back();
    if (z.offset_seconds != last.offset_seconds || z.summer != last.summer || z.abbreviation != last.abbreviation)
      table.transitions.push_back(std::move(z));
  };
  for (; k < times.size() && UnixToJD(times[k]) <= jd_to; ++k) add(entry(UnixToJD(times[k]), index[k]));
  if (k == times.size())
    for (const PosixTransition& t : rule)
      if (UnixToJD(t.unix_time) > jd_from && UnixToJD(t.unix_time) <= jd_to)
        add(from_footer(UnixToJD(t.unix_time), t.summer));
  return table;
}

ZoneTable ReadZoneTable(const std::filesystem::path& dir, const std::string& name) {
  if (!IsZoneName(name)) throw Error(kUnknownZone, name);
  const std::filesystem::path file = dir / name;
  std::error_code ec;
  const auto type = std::filesystem::status(file, ec).type();
  if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::directory)
    throw Error(kUnknownZone, name);
  const double from = CalendarToJD(kZoneFirstYear, 1, 1, 0, 0, 0) - 1;
  const double to = CalendarToJD(kZoneLastYear + 1, 1, 1, 0, 0, 0) + 1;
  // A damaged file is named by its path, an unknown zone by its name.
  ZoneTable table = ParseZoneFile(ReadWholeFile(file, kZoneFileLimit), file.string(), from, to);
  table.name = name;
  return table;
}

}  // namespace vk
