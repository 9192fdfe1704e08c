// The phase table: read, or refused with an Error.
#include <cstdint>

#include "events/phase_table.h"
#include "fuzz_file.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::PhaseTable table;
  try {
    vk::ReadPhaseTable(table, vk::fuzz::InputFile(data, size));
    // What was read lies inside the ranges the reader promises.
    for (int k = 1; k <= table.Phase_Count; ++k)
      if (table.Phase_Tab[k].moon > 35 || table.Phase_Tab[k].mercury > 35 || table.Phase_Tab[k].venus > 36) __builtin_trap();
  } catch (const vk::Error&) {
  }
  return 0;
}
