// Builds hourly export lines in the tab-separated HORIZONS layout for tests.
#pragma once
#include <string>
#include <vector>

namespace vk::test {

struct ExportLine {
  std::vector<std::string> columns = {
      "2022-Jan-01 00:00",      // 1 calendar text
      " 2459580.500000000",     // 2 JD
      " ",                      // 3 marker
      " ",                      // 4 marker
      " 18 45 40.273456",       // 5 RA
      " -23 02 44.56789",       // 6 Dec
      "-26.742",                // 7 magnitude
      "100.000",                // 8
      "0.0000",                 // 9
      "1951.790",               // 10 diameter
      "1.5",                    // 11
      "2.5",                    // 12
      "n.a.",                   // 13 text
      "/T",                     // 14 text
      "0.98331",                // 15
      " 0.983305643",           // 16 delta
      "-0.0150",                // 17
      "   Sgr",                 // 18 label column
      "280.123456",             // 19 ecliptic longitude
      "-0.000123",              // 20 last
  };
  ExportLine& set(int column, std::string text) {
    columns.at(column - 1) = std::move(text);
    return *this;
  }
  std::string str() const {
    std::string s;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i) s += '\t';
      s += columns[i];
    }
    return s;
  }
};

}  // namespace vk::test
