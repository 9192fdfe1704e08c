// The event log: read and sorted, or refused with an Error; reading it
// straight into sorted places gives the same entries, order and error.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "events/event_table.h"
#include "fuzz_file.h"
#include "timecalc/calendar.h"
#include "base/error.h"

namespace {

// The error text of `read`, or empty.
template <class Read>
std::string ErrorOf(Read read) {
  try {
    read();
  } catch (const vk::Error& e) {
    return "error: " + e.describe();
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::EventStore store, sorted;
  const auto path = vk::fuzz::InputFile(data, size);
  const std::string error = ErrorOf([&] {
    vk::ReadEventLog(store, path);
    vk::SortEventTable(store);
  });
  if (error.empty())
    for (int i = 1; i <= store.Event_Count; ++i) (void)vk::JDToCalendar(store.Event_Tab[static_cast<std::size_t>(i)].jd_local);
  // The bytes as one piece, and cut into two after the first line end.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = text.find('\n') + 1;  // 0 when there is none
  if (ErrorOf([&] { vk::ReadSortedEventText(sorted, {text}, path); }) != error) std::abort();
  if (sorted.Event_Count != store.Event_Count) std::abort();
  for (int i = 1; i <= store.Event_Count; ++i)
    if (!vk::fuzz::SameEntry(sorted.Event_Tab[static_cast<std::size_t>(i)], store.Event_Tab[static_cast<std::size_t>(i)]))
      std::abort();
  if (ErrorOf([&] { vk::ReadSortedEventText(sorted, {text.substr(0, cut), text.substr(cut)}, path); }) != error)
    std::abort();
  if (sorted.Event_Count != store.Event_Count) std::abort();
  for (int i = 1; i <= store.Event_Count; ++i)
    if (!vk::fuzz::SameEntry(sorted.Event_Tab[static_cast<std::size_t>(i)], store.Event_Tab[static_cast<std::size_t>(i)]))
      std::abort();
  return 0;
}
