// Lines written with their records: when the table is filled from the
// records, it holds the entries, count and order that reading the same bytes
// as text gives. Each input is a list of lines: two Julian Dates (raw, or
// inside the decade), a body and event, some of fields 5 to 10 and a label.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/error.h"
#include "events/event_line.h"
#include "events/event_table.h"
#include "fuzz_file.h"

namespace {

// Reads values off the front of the input; zeros once it is used up.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return size_ == 0; }
  std::uint8_t byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  std::uint64_t bits() {
    std::uint64_t b = 0;
    for (int i = 0; i < 8; ++i) b = b << 8 | byte();
    return b;
  }
  double number() {
    const std::uint64_t b = bits();
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
  }
  // A date of the decade from the input's bits, or the raw bits as a double.
  double date() {
    const std::uint8_t how = byte();
    if (how % 4 == 0) return number();
    const double unit = static_cast<double>(bits() % 1000000007) / 1000000007.0;
    return 2459580.5 + unit * 3652 + (how % 4 == 1 ? 1.0 / 512 : 0);  // k / 512: exact halves of the last digit
  }
  std::string text(std::size_t most) {
    std::string s;
    for (std::size_t n = byte() % (most + 1); n > 0; --n) s += static_cast<char>(byte());
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::EventStore from_records, from_text;
  static const char* const kBodies[] = {"Sonne", "Mond", "Merkur"};
  static const char* const kEvents[] = {"Aufgang", "Untergang", "WirdRuecklaeufig", "Erdnähe"};
  Input in(data, size);
  std::vector<vk::LogText> pieces(2);
  std::vector<vk::LineRecords> records(2);
  std::vector<vk::tShortString3> labels;
  labels.reserve(size / 8 + 1);
  for (int line = 0; line < 2000 && !in.empty(); ++line) {
    const double jd_ut = in.date(), jd_local = in.date();
    const std::uint8_t choice = in.byte(), present = in.byte();
    vk::EventFields f;
    if (present & 1) f.au = in.number();
    if (present & 2) f.km = in.number();
    if (present & 4) f.earth_radii = in.number();
    if (present & 8) f.angle = in.text(12);
    if (present & 16) f.diameter = in.number();
    if (present & 32) f.magnitude = in.number();
    if (present & 64) {
      vk::tShortString3& label = labels.emplace_back();
      label.length = in.byte() % 5;
      for (char& c : label.chars) c = static_cast<char>(in.byte());
      f.label = &label;
    }
    const std::size_t piece = choice >> 7;
    vk::AppendEventLine(pieces[piece], jd_ut, jd_local, kBodies[choice % 3], kEvents[choice / 3 % 4], f,
                        &records[piece].emplace_back());
  }
  // The store takes the pieces it reads over: it is given a copy.
  std::vector<vk::LogText> taken = pieces;
  if (!vk::ReadSortedEventRecords(from_records, taken, records)) return 0;
  // What the records gave, the text must give too, without an error.
  try {
    vk::ReadSortedEventText(from_text, pieces, "log.txt");
  } catch (const vk::Error&) {
    std::abort();
  }
  if (from_records.Event_Count != from_text.Event_Count) std::abort();
  for (int i = 1; i <= from_text.Event_Count; ++i)
    if (!vk::fuzz::SameEntry(from_records.Event_Tab[static_cast<std::size_t>(i)], from_text.Event_Tab[static_cast<std::size_t>(i)]))
      std::abort();
  return 0;
}
