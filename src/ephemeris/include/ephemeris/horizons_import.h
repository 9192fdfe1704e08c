// Conversion of the nine hourly HORIZONS text exports into the binary files.
#pragma once
#include <filesystem>
#include <functional>
#include <string_view>

#include "ephemeris/ephemeris_data.h"
#include "base/progress.h"

namespace vk {

// Converts one tab-separated export line into `rec`: every field except the
// two reserved ones is overwritten. Right ascension and declination are read
// by character position, the label from characters 4 to 6 of column 18.
// Throws: Error "'…' is not a valid floating point value" for a numeric
// column that holds no number (an empty or missing column included), or
// "'…' is not a valid integer value" for hours, degrees or minutes that are
// not digits; `rec` is then partly overwritten.
void ConvertExportLine(std::string_view line, tEphemerisData& rec);

// Converts every line of a whole export text (CR LF or LF line ends; a final
// line break adds no line) and hands one record per line to `sink`, in order.
// Throws: as ConvertExportLine, with "<source>, line N" as the error's file;
// the records of the lines before have been handed on.
void ConvertExportLines(std::string_view text, const std::function<void(const tEphemerisData&)>& sink,
                        std::string_view source = {});

// The whole conversion: for each body in order, reads `dir`/_res/…_<CODE>.txt
// and writes `dir`/…_<CODE>.bin, each under a temporary name renamed over the
// old file when complete. Progress: "Writing binary files. Wait please..." and
// each binary file's name on red, "Done." on the button-face colour.
// Throws: Error ("File not found", a conversion text, or the system's I/O
// text, with the file concerned) at the first failure; the bodies before it
// have their new files, that body and the later ones keep their old files.
void MakeBinaryFiles(const std::filesystem::path& dir, const ProgressFn& progress);

}  // namespace vk
