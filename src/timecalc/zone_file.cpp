#include "timecalc/zone_file.h"

#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "base/whole_file.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

constexpr const char* kNotZoneFile = "Not a time-zone file";

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
  std::vector<std::int64_t> times(h.time);
  for (auto& t : times) t = r.be(static_cast<int>(width));
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
    t.offset = static_cast<int>(r.be(4));
    t.dst = r.byte() != 0;
    t.abbr = r.byte();
    if (t.abbr >= h.chars) throw Error(kNotZoneFile, name);
  }
  const std::string chars = bytes.substr(r.pos(), h.chars);
  const auto entry = [&](double jd, unsigned type) {
    const Type& t = types[type];
    return ZoneTransition{jd, t.offset, t.dst, std::string(chars.c_str() + t.abbr)};
  };
  ZoneTable table;
  table.name = name;
  unsigned in_force = 0;
  std::size_t k = 0;
  for (; k < times.size() && UnixToJD(times[k]) <= jd_from; ++k) in_force = index[k];
  table.transitions.push_back(entry(jd_from, in_force));
  for (; k < times.size() && UnixToJD(times[k]) <= jd_to; ++k) table.transitions.push_back(entry(UnixToJD(times[k]), index[k]));
  // A zone that still switches needs explicit transitions past the period
  // (files written without them carry the rule only in their footer).
  const std::string footer = bytes.substr(r.pos() + DataSize(h, width) - (h.time * width + h.time + h.type * 6));
  const bool switches = footer.find(',') != std::string::npos;
  if (switches && k == times.size()) throw Error(kReadBeyondEnd, name);
  return table;
}

ZoneTable ReadZoneTable(const std::filesystem::path& dir, const std::string& name) {
  if (!IsZoneName(name)) throw Error("Unknown time zone", name);
  const std::filesystem::path file = dir / name;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) throw Error("Unknown time zone", name);
  const double from = CalendarToJD(kZoneFirstYear, 1, 1, 0, 0, 0) - 1;
  const double to = CalendarToJD(kZoneLastYear + 1, 1, 1, 0, 0, 0) + 1;
  return ParseZoneFile(ReadWholeFile(file, kZoneFileLimit), name, from, to);
}

}  // namespace vk
