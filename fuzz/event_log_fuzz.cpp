// The event log: read and sorted, or refused with an Error.
#include <cstdint>

#include "events/event_table.h"
#include "fuzz_file.h"
#include "timecalc/calendar.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::EventStore store;
  try {
    vk::ReadEventLog(store, vk::fuzz::InputFile(data, size));
    vk::SortEventTable(store);
    for (int i = 1; i <= store.Event_Count; ++i) (void)vk::JDToCalendar(store.Event_Tab[static_cast<std::size_t>(i)].jd_local);
  } catch (const vk::Error&) {
  }
  return 0;
}
