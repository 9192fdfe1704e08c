// The phase table: read, or refused with an Error.
#include <cstdint>

#include "events/phase_table.h"
#include "fuzz_file.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::PhaseTable table;
  try {
    vk::ReadPhaseTable(table, vk::fuzz::InputFile(data, size));
    if (table.Phase_Count > 0) (void)vk::FindPhaseDay(table, table.Phase_Tab[1].jd);
  } catch (const vk::Error&) {
  }
  return 0;
}
