#include "events/almanac.h"

#include "basic_values.h"
#include "period_margins.h"

namespace vk {

Almanac::Almanac() : basic(std::make_unique<BasicTable>()), margins(std::make_unique<PeriodMargins>()) {}

Almanac::~Almanac() = default;

}  // namespace vk
