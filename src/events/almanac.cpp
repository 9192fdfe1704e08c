#include "events/almanac.h"

#include "basic_values.h"

namespace vk {

Almanac::Almanac() : basic(std::make_unique<BasicTable>()) {}

Almanac::~Almanac() = default;

}  // namespace vk
