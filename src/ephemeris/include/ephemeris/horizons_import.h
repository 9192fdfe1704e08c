// Conversion of the nine hourly HORIZONS text exports into the binary files.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "ephemeris/ephemeris_data.h"
#include "base/progress.h"

namespace vk {

// The most bytes read of one export: its rows of about 260 bytes, with room
// for wider columns and more rows.
inline constexpr std::uint64_t kExportFileLimit = std::uint64_t{kEphemerisRows} * 512;

// Converts one tab-separated export line of exactly 20 columns into `rec`:
// every field except the two reserved ones is overwritten. Right ascension
// and declination are read by character position (columns at least 16
// characters wide, two digits for hours, degrees and minutes, the sign +, -
// or blank), the label from characters 4 to 6 of column 18.
// Throws: Error with "column N" as its file for a line with another number of
// columns (naming the first missing one), "'…': character N is 'x', a blank
// expected" for a sexagesimal column whose first character or separators are
// not blanks, "label '…' holds other characters than letters and blanks" for
// a label with any other character, "'…' is not a valid floating point
// value" for a numeric column that holds no number, "'…' is not a valid
// integer value" for hours, degrees or minutes that are not two digits, or
// "'…' is outside the allowed range lo to hi" (Julian Date within a year of
// 2022-01-01 … 2032-01-01, hours 0 … 23, degrees 0 … 90, minutes 0 … 59,
// seconds below 60, magnitude -30 … 40, diameter 0 … 10000″, distances
// 0 … 100 au, angles 0 … 180 or 0 … 360); `rec` is then partly overwritten.
void ConvertExportLine(std::string_view line, tEphemerisData& rec);

// Converts every line of a whole export text (CR LF or LF line ends; a final
// line break adds no line) and hands one record per line to `sink`, in order.
// Throws: as ConvertExportLine, or for a lone CR, with "<source>, line N,
// column C" as the error's file; the records of the lines before have been
// handed on.
void ConvertExportLines(std::string_view text, const std::function<void(const tEphemerisData&)>& sink,
                        std::string_view source = {});

// The whole conversion: for each body in order, reads `dir`/_res/…_<CODE>.txt
// and writes `dir`/…_<CODE>.bin, each under a temporary name renamed over the
// old file when complete. Progress: "Writing binary files. Wait please..." and
// each binary file's name on red, "Done." on the button-face colour.
// An export with fewer than `rows_needed` rows is refused. Each file is synced
// before the rename.
// Throws: Error ("File not found", a conversion text, "The export holds N
// rows, the period needs M", or the system's I/O text, with the file
// concerned) at the first failure; the bodies before it have their new files,
// that body and the later ones keep their old files.
void MakeBinaryFiles(const std::filesystem::path& dir, const ProgressFn& progress,
                     std::size_t rows_needed = kEphemerisRows);

}  // namespace vk
