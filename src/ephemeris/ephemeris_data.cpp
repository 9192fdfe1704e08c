#include "ephemeris/ephemeris_data.h"

#include "ephemeris/period.h"

namespace vk {

std::string BinaryFileName(int body) { return BinaryFileName(body, kDocumentedPeriod); }

std::string ExportFileName(int body) { return ExportFileName(body, kDocumentedPeriod); }

}  // namespace vk
