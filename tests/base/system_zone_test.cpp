// The system's zone as TZ or /etc/localtime names it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "base/platform.h"

namespace vk {
namespace {

TEST(SystemZone, FromTzOrTheLocaltimeLink) {
  const char* before = std::getenv("TZ");
  const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
  const struct {
    const char* tz;
    const char* zone;
  } cases[] = {
      {"America/New_York", "America/New_York"},
      {":Europe/Zurich", "Europe/Zurich"},
      {"/usr/share/zoneinfo/Asia/Tokyo", "Asia/Tokyo"},
      {":/usr/share/zoneinfo/Australia/Lord_Howe", "Australia/Lord_Howe"},
      {"/etc/some-zone-file", ""},
      {"", ""},                    // UTC by POSIX: no zone of a place
      {"CET-1CEST", "CET-1CEST"},  // a rule, left to the caller to find in no table
  };
  for (const auto& c : cases) {
    ::setenv("TZ", c.tz, 1);
    EXPECT_EQ(SystemZoneName(), c.zone) << c.tz;
  }
  ::unsetenv("TZ");
  std::error_code ec;
  const std::string link = std::filesystem::read_symlink("/etc/localtime", ec).string();
  const std::size_t at = link.rfind("zoneinfo/");
  EXPECT_EQ(SystemZoneName(), ec || at == std::string::npos ? std::string() : link.substr(at + 9));
  if (saved) ::setenv("TZ", saved->c_str(), 1);
}

}  // namespace
}  // namespace vk
