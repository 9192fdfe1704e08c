// Whole numbers as fixed-width digit strings ("07", "2024"), locale-free.
#pragma once
#include <string>

namespace vk {

// Appends `value` (>= 0) with at least `width` digits, zeros in front:
// (7, 2) "07", (123, 2) "123". Never throws except std::bad_alloc.
void AppendZeroPadded(std::string& out, long long value, int width);

// The last `digits` decimal digits of `value` (>= 0), zeros in front:
// (7, 2) "07", (350, 3) "350", (123, 2) "23". Never throws except std::bad_alloc.
std::string LastDigits(long long value, int digits);

}  // namespace vk
