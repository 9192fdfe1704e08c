#include "ephemeris/horizons_import.h"

#include <string>

#include "base/atomic_file.h"
#include "base/whole_file.h"
#include "base/error.h"
#include "base/line_fields.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

// Characters [pos, pos + count) of s, shorter or empty where s ends.
std::string_view Copy(std::string_view s, std::size_t pos, std::size_t count) {
  if (pos >= s.size()) return {};
  return s.substr(pos, count);
}

double Integer(std::string_view digits) { return static_cast<double>(ParseInteger(digits)); }

}  // namespace

void ConvertExportLine(std::string_view line, tEphemerisData& rec) {
  TabFields c(line);
  c.drop();                              // calendar text
  rec.jd = ParseFloat(c.take());
  c.drop(2);                             // two markers
  {  // " HH MM SS.ssssss" by position
    const std::string_view s = c.rest();
    const double h = Integer(Copy(s, 1, 2));
    const double m = Integer(Copy(s, 4, 2));
    const double sec = ParseFloat(Copy(s, 7, 9));
    rec.ra = h + m / 60 + sec / 3600;
    c.drop();
  }
  {  // " ±DD MM SS.sssss" by position
    std::string_view s = Copy(c.rest(), 1, std::string_view::npos);
    const bool negative = !s.empty() && s.front() == '-';
    s = Copy(s, 1, std::string_view::npos);
    const double d = Integer(Copy(s, 0, 2));
    const double m = Integer(Copy(s, 3, 2));
    const double sec = ParseFloat(Copy(s, 6, 8));
    const double v = d + m / 60 + sec / 3600;
    rec.dec = negative ? -v : v;
    c.drop();
  }
  rec.mag = ParseFloat(c.take());
  rec.col8 = ParseFloat(c.take());
  rec.col9 = ParseFloat(c.take());
  rec.diameter = ParseFloat(c.take());
  rec.col11 = ParseFloat(c.take());
  rec.col12 = ParseFloat(c.take());
  c.drop(2);                             // two text columns
  rec.col15 = ParseFloat(c.take());
  rec.delta = ParseFloat(c.take());
  rec.col17 = ParseFloat(c.take());
  {  // label from characters 4 to 6, never past the column
    const std::string_view label = Copy(c.peek(), 3, 3);
    rec.label.length = static_cast<std::uint8_t>(label.size());
    for (std::size_t i = 0; i < 3; ++i) rec.label.chars[i] = i < label.size() ? label[i] : ' ';
    c.drop();
  }
  rec.ecl_lon = ParseFloat(c.take());
  rec.col20 = ParseFloat(c.rest());      // the whole rest of the line
}

void ConvertExportLines(std::string_view text, const std::function<void(const tEphemerisData&)>& sink,
                        std::string_view source) {
  tEphemerisData rec{};
  std::size_t line_no = 0;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_no;
    try {
      ConvertExportLine(line, rec);
    } catch (const Error& e) {
      std::string where = source.empty() ? std::string("line ") : std::string(source) + ", line ";
      throw Error(e.what(), where + std::to_string(line_no));
    }
    sink(rec);
  }
}


void MakeBinaryFiles(const std::filesystem::path& dir, const ProgressFn& progress) {
  auto report = [&](std::string_view text, StatusColour colour) {
    if (progress) progress(text, colour);
  };
  report("Writing binary files. Wait please...", StatusColour::Red);
  for (int body = 0; body < kBodyCount; ++body) {
    const std::filesystem::path text_path = dir / ExportFileName(body);
    const std::string text = ReadWholeFile(text_path);
    AtomicFile out(dir / BinaryFileName(body));
    report(BinaryFileName(body), StatusColour::Red);
    ConvertExportLines(
        text, [&](const tEphemerisData& rec) { out.write(&rec, sizeof rec); }, text_path.string());
    out.commit();
  }
  report("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
