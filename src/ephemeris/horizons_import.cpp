#include "ephemeris/horizons_import.h"

#include <initializer_list>
#include <string>

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/line_fields.h"
#include "base/whole_file.h"
#include "timecalc/input_checks.h"

namespace vk {
namespace {

// Characters [pos, pos + count) of s, shorter or empty where s ends.
std::string_view Copy(std::string_view s, std::size_t pos, std::size_t count) {
  if (pos >= s.size()) return {};
  return s.substr(pos, count);
}

constexpr int kExportColumns = 20;

// An error about column `column`: its number goes with the error's place.
[[noreturn]] void FailIn(int column, const Error& e) { throw Error(e.what(), "column " + std::to_string(column)); }

// The current column as a number within [lo, hi], dropped; an error names the column.
double Number(TabFields& c, double lo, double hi) {
  const std::string_view text = c.peek();
  try {
    const double v = InRange(ParseFloat(text), text, lo, hi);
    c.drop();
    return v;
  } catch (const Error& e) {
    FailIn(c.column(), e);
  }
}

// Two decimal digits within [0, hi]: no blank, no sign.
double TwoDigits(std::string_view text, int hi) {
  const bool digits = text.size() == 2 && text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9';
  if (!digits) throw InvalidInteger(std::string(text));
  return InRange((text[0] - '0') * 10 + (text[1] - '0'), text, 0, hi);
}

// Seconds padded with blanks: a number within [0, 60).
double Seconds(std::string_view text) {
  const double v = ParseFloat(text);
  if (!(v >= 0 && v < 60)) throw OutOfRange(text, 0, 59.999999);
  return v;
}

// The whole sexagesimal column `text`, at least `width` characters wide, so
// that no field reaches into the next column.
void NeedWidth(std::string_view text, std::size_t width) {
  if (text.size() < width)
    throw Error(QuoteInput(text) + " is " + std::to_string(text.size()) + " characters wide, at least " +
                std::to_string(width) + " expected");
}

// The blanks a sexagesimal column holds at `positions` (0-based): before the
// first field and between the fields.
void NeedBlanks(std::string_view text, std::initializer_list<std::size_t> positions) {
  for (const std::size_t at : positions)
    if (text[at] != ' ')
      throw Error(QuoteInput(text) + ": character " + std::to_string(at + 1) + " is " + QuoteInput(text.substr(at, 1)) +
                  ", a blank expected");
}

}  // namespace

void ConvertExportLine(std::string_view line, tEphemerisData& rec) {
  {
    std::size_t columns = 1;
    for (const char ch : line) columns += ch == '\t';
    if (columns < kExportColumns)
      throw Error("Line has " + std::to_string(columns) + " columns, " + std::to_string(kExportColumns) +
                      " expected: " + (columns + 1 < kExportColumns ? "columns " : "column ") +
                      std::to_string(columns + 1) +
                      (columns + 1 < kExportColumns ? " to " + std::to_string(kExportColumns) : std::string()) +
                      " missing",
                  "column " + std::to_string(columns + 1));
    if (columns > kExportColumns)
      throw Error("Line has " + std::to_string(columns) + " columns, " + std::to_string(kExportColumns) + " expected",
                  "column " + std::to_string(kExportColumns + 1));
  }
  TabFields c(line);
  c.drop();                                             // calendar text
  rec.jd = Number(c, kAcceptedFirstJD, kAcceptedLastJD);
  c.drop(2);                                            // markers
  try {                                                 // " HH MM SS.ssssss" by position
    const std::string_view s = c.peek();
    NeedWidth(s, 16);
    NeedBlanks(s, {0, 3, 6});
    const double h = TwoDigits(Copy(s, 1, 2), 23);
    const double m = TwoDigits(Copy(s, 4, 2), 59);
    const double sec = Seconds(Copy(s, 7, 9));
    rec.ra = h + m / 60 + sec / 3600;
  } catch (const Error& e) {
    FailIn(c.column(), e);
  }
  c.drop();
  try {                                                 // " ±DD MM SS.sssss" by position
    const std::string_view col = c.peek();
    NeedWidth(col, 16);
    NeedBlanks(col, {0, 4, 7});
    std::string_view s = Copy(col, 1, std::string_view::npos);
    const char sign = s.front();
    if (sign != '+' && sign != '-' && sign != ' ') throw Error(QuoteInput(s.substr(0, 1)) + " is not a sign (+, - or blank)");
    s.remove_prefix(1);
    const double d = TwoDigits(Copy(s, 0, 2), 90);
    const double m = TwoDigits(Copy(s, 3, 2), 59);
    const double sec = Seconds(Copy(s, 6, 8));
    const double v = d + m / 60 + sec / 3600;
    if (v > 90) throw OutOfRange(col, -90, 90);
    rec.dec = sign == '-' ? -v : v;
  } catch (const Error& e) {
    FailIn(c.column(), e);
  }
  c.drop();
  rec.mag = Number(c, -30, 40);           // magnitude
  rec.col8 = Number(c, 0, 100);           // illuminated fraction, %
  rec.col9 = Number(c, 0, 180);           // phase angle, degrees
  rec.diameter = Number(c, 0, 10000);     // arcseconds
  rec.col11 = Number(c, 0, 100);          // distance from the Sun, au
  rec.col12 = Number(c, -1000, 1000);     // its rate, km/s
  c.drop(2);                             // text
  rec.col15 = Number(c, 0, 180);          // elongation, degrees
  rec.delta = Number(c, 1e-6, 100);       // distance from the observer, au
  rec.col17 = Number(c, -1000, 1000);     // its rate, km/s
  {                                      // label from characters 4 to 6, never past the column
    const std::string_view label = Copy(c.peek(), 3, 3);
    for (const char ch : label)
      if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == ' '))
        FailIn(c.column(), Error("label " + QuoteInput(label) + " holds other characters than letters and blanks"));
    rec.label.length = static_cast<std::uint8_t>(label.size());
    for (std::size_t i = 0; i < 3; ++i) rec.label.chars[i] = i < label.size() ? label[i] : ' ';
    c.drop();
  }
  rec.ecl_lon = Number(c, 0, 360);        // degrees
  rec.col20 = Number(c, -90, 90);         // ecliptic latitude, degrees; the rest of the line
}

void ConvertExportLines(std::string_view text, const std::function<void(const tEphemerisData&)>& sink,
                        std::string_view source) {
  tEphemerisData rec{};
  std::size_t line_no = 0;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++line_no;
    try {
      ConvertExportLine(WithoutLineEnd(line), rec);
    } catch (const Error& e) {
      std::string where = source.empty() ? std::string("line ") : std::string(source) + ", line ";
      where += std::to_string(line_no);
      if (!e.file().empty()) where += ", " + e.file();
      throw Error(e.what(), where);
    }
    sink(rec);
  }
}


void MakeBinaryFiles(const std::filesystem::path& dir, const ProgressFn& progress, std::size_t rows_needed) {
  auto report = [&](std::string_view text, StatusColour colour) {
    if (progress) progress(text, colour);
  };
  report("Writing binary files. Wait please...", StatusColour::Red);
  for (int body = 0; body < kBodyCount; ++body) {
    const std::filesystem::path text_path = dir / ExportFileName(body);
    const std::string text = ReadWholeFile(text_path, kExportFileLimit);
    AtomicFile out(dir / BinaryFileName(body));
    report(BinaryFileName(body), StatusColour::Red);
    std::size_t rows = 0;
    ConvertExportLines(
        text,
        [&](const tEphemerisData& rec) {
          out.write(&rec, sizeof rec);
          ++rows;
        },
        text_path.string());
    if (rows < rows_needed)
      throw Error("The export holds " + std::to_string(rows) + " rows, the period needs " +
                      std::to_string(rows_needed),
                  text_path.string());
    out.commit(true);
  }
  report("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
