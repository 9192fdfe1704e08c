// Builds altered copies of the DE405 extract for failure tests.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace vk::ephemgen::test {

inline std::uint64_t Fnv1a64(const std::string& bytes, std::size_t size) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < size; ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= 0x100000001B3ull;
  }
  return h;
}

// The extract with only its first `records` records, with a valid header and
// checksum: a well-formed file that ends too early.
inline std::string FirstRecords(const std::string& extract, std::uint32_t records) {
  std::uint32_t doubles = 0, items = 0;
  std::memcpy(&doubles, extract.data() + 20, 4);
  std::memcpy(&items, extract.data() + 24, 4);
  const std::size_t header = 64 + 12 * std::size_t{items};
  std::string out = extract.substr(0, header + std::size_t{records} * doubles * 8);
  std::memcpy(out.data() + 16, &records, 4);
  const std::uint64_t sum = Fnv1a64(out, out.size());
  out.append(reinterpret_cast<const char*>(&sum), 8);
  return out;
}

}  // namespace vk::ephemgen::test
