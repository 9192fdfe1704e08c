// The hourly ephemeris row, the body order and the ephemeris file names.
#pragma once
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

inline constexpr int kBodyCount = 9;
inline constexpr int kEphemerisRows = 87651;  // rows 1 … 87651 of the documented decade, one hour apart
inline constexpr int kMaxEphemerisRows = 3653 * 24 + 3;  // a decade with three leap days

enum Body : int { Sun = 0, Mercury = 1, Venus = 2, Moon = 3, Mars = 4, Jupiter = 5, Saturn = 6, Uranus = 7, Neptune = 8 };

// Display names, also the search keys of the event table.
inline constexpr std::array<std::string_view, kBodyCount> BodyNames = {
    "Sonne", "Merkur", "Venus", "Mond", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun"};
inline constexpr std::array<std::string_view, kBodyCount> BodyCodes = {
    "SUN", "MER", "VEN", "MOO", "MAR", "JUP", "SAT", "URA", "NEP"};

// "HORIZONS_daten_2022-2032_SUN.bin" …
std::string BinaryFileName(int body);
// "_res/HORIZONS_daten_2022-2032_SUN.txt" …
std::string ExportFileName(int body);

#pragma pack(push, 1)
// A string of up to three characters: a length byte and three character bytes.
struct tShortString3 {
  std::uint8_t length;
  char chars[3];
  std::string_view view() const { return {chars, length <= 3 ? length : std::size_t{3}}; }
  friend bool operator==(const tShortString3&, const tShortString3&) = default;
};

// One hourly row of one body, the same 132 bytes in memory and in the files.
struct tEphemerisData {
  double jd;          // Julian day, UT
  double ra;          // apparent right ascension of date, hours 0 … 24
  double dec;         // apparent declination of date, degrees
  double mag;         // apparent visual magnitude
  double col8;        // export column 8, stored, not used
  double col9;        // export column 9
  double diameter;    // apparent angular diameter, arcseconds
  double col11;       // export column 11
  double col12;       // export column 12
  double reserved1;   // never written: 0
  double reserved2;   // never written: 0
  double col15;       // export column 15
  double delta;       // distance from the observer, au
  double col17;       // export column 17
  tShortString3 label;  // constellation abbreviation
  double ecl_lon;     // ecliptic longitude of date, degrees 0 … 360
  double col20;       // export column 20
};
#pragma pack(pop)

static_assert(sizeof(tEphemerisData) == 132);
static_assert(offsetof(tEphemerisData, jd) == 0);
static_assert(offsetof(tEphemerisData, ra) == 8);
static_assert(offsetof(tEphemerisData, dec) == 16);
static_assert(offsetof(tEphemerisData, mag) == 24);
static_assert(offsetof(tEphemerisData, col8) == 32);
static_assert(offsetof(tEphemerisData, col9) == 40);
static_assert(offsetof(tEphemerisData, diameter) == 48);
static_assert(offsetof(tEphemerisData, col11) == 56);
static_assert(offsetof(tEphemerisData, col12) == 64);
static_assert(offsetof(tEphemerisData, reserved1) == 72);
static_assert(offsetof(tEphemerisData, reserved2) == 80);
static_assert(offsetof(tEphemerisData, col15) == 88);
static_assert(offsetof(tEphemerisData, delta) == 96);
static_assert(offsetof(tEphemerisData, col17) == 104);
static_assert(offsetof(tEphemerisData, label) == 112);
static_assert(offsetof(tEphemerisData, ecl_lon) == 116);
static_assert(offsetof(tEphemerisData, col20) == 124);
static_assert(std::endian::native == std::endian::little, "the files are little-endian");

}  // namespace vk
