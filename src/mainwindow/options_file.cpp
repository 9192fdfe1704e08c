#include "mainwindow/options_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QVariantMap>
#include <cerrno>
#include <cstring>
#include <QString>
#include <system_error>

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/whole_file.h"

namespace vk {
namespace {

constexpr const char* kPreciseKey = "View/PreciseInstants";
constexpr const char* kLanguageKey = "View/Language";
constexpr const char* kTwilightsKey = "View/SunTimes";
constexpr const char* kRisesKey = "View/RisesAndSets";
constexpr const char* kTransitsKey = "View/Transits";
constexpr const char* kPhotoLightKey = "View/PhotoLight";
constexpr const char* kLeadersKey = "View/LeaderLines";
constexpr const char* kLegendKey = "View/Legend";
constexpr const char* kNowLineKey = "View/NowLine";
constexpr const char* kGeometryKey = "Window/Geometry";
constexpr const char* kScreendumpKey = "Window/ScreendumpAtClose";

QString Native(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// QSettings keeps what it read of a file for as long as the file's size and
// modification time (in milliseconds) stay the same. A new file of the old
// one's size written within the same millisecond would be taken for the old
// one: its time is then set a millisecond later.
void Differ_From_Cached(const std::filesystem::path& path, const std::filesystem::path& temp) {
  struct stat before {}, now {};
  if (::stat(path.c_str(), &before) != 0 || ::stat(temp.c_str(), &now) != 0) return;
  const auto ms = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
  if (ms(before.st_mtim) != ms(now.st_mtim)) return;
  timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
  times[1].tv_nsec = (times[1].tv_nsec / 1000000 + 1) * 1000000;
  if (times[1].tv_nsec >= 1000000000) {
    times[1].tv_sec += 1;
    times[1].tv_nsec -= 1000000000;
  }
  ::utimensat(AT_FDCWD, temp.c_str(), times, 0);
}

}  // namespace

std::map<std::string, std::string> ReadOptionValues(const std::filesystem::path& path,
                                                    const std::vector<std::string>& keys) {
  std::map<std::string, std::string> values;
  // Checked as every file read is (a regular file within its limit) before
  // QSettings opens it: QSettings would wait on a FIFO and read any size.
  try {
    CheckInputFile(path, kOptionsFileLimit);
  } catch (const Error&) {
    return values;
  }
  const QSettings ini(Native(path), QSettings::IniFormat);
  for (const std::string& key : keys) {
    const QVariant v = ini.value(QString::fromStdString(key));
    if (v.isValid()) values[key] = v.toString().toStdString();
  }
  // QSettings reads the file at the first question and only then knows its status.
  if (ini.status() != QSettings::NoError) values.clear();
  return values;
}

void WriteOptionValues(const std::filesystem::path& path,
                       const std::vector<std::pair<std::string, std::string>>& values) {
  CheckWriteTarget(path);
  // Other keys of a readable file are kept; an unreadable, oversized or
  // malformed one is replaced.
  std::string old;
  try {
    old = ReadWholeFile(path, kOptionsFileLimit);
  } catch (const Error&) {
  }
  const TemporaryFile created = CreateTemporary(path);
  const std::filesystem::path& temp = created.name;
  std::error_code ec;
  const auto fail = [&](const std::string& text) {
    std::filesystem::remove(temp, ec);
    throw Error(text, path.string());
  };
  bool written = true;
  for (std::size_t done = 0; written && done < old.size();) {
    const ssize_t n = ::write(created.fd, old.data() + done, old.size() - done);
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  const int err = written ? 0 : errno;
  if (::close(created.fd) != 0 || !written) fail(std::strerror(err != 0 ? err : EIO));
  if (!old.empty()) {
    const QSettings copy(Native(temp), QSettings::IniFormat);
    (void)copy.allKeys();  // read now: the status is known only after reading
    if (copy.status() != QSettings::NoError) std::filesystem::resize_file(temp, 0, ec);
  }
  {
    QSettings ini(Native(temp), QSettings::IniFormat);
    // The kept keys are written afresh under the names QSettings read them
    // by: two spellings of one key ("PreciseInstants" and "PreciseInstants/")
    // would otherwise both stay, and the next reading could find the old
    // value behind the new one (found by fuzzing).
    QVariantMap kept;
    for (const QString& key : ini.allKeys()) kept.insert(key, ini.value(key));
    ini.clear();
    for (auto it = kept.cbegin(); it != kept.cend(); ++it) ini.setValue(it.key(), it.value());
    for (const auto& [key, value] : values) ini.setValue(QString::fromStdString(key), QString::fromStdString(value));
    ini.sync();
    if (ini.status() != QSettings::NoError) fail("Cannot write the options file");
  }
  try {
    CheckWriteTarget(path);  // a special file put there meanwhile is not replaced
  } catch (const Error& e) {
    fail(e.what());
  }
  Differ_From_Cached(path, temp);
  std::filesystem::rename(temp, path, ec);
  if (ec) fail(ec.message());
}

WindowOptions ReadOptionsFile(const std::filesystem::path& path) {
  WindowOptions o;
  const auto values = ReadOptionValues(path, {kPreciseKey, kTwilightsKey, kRisesKey, kTransitsKey, kPhotoLightKey,
                                              kLeadersKey, kLegendKey, kNowLineKey, kGeometryKey, kScreendumpKey});
  // "true" or "false" in any case; anything else: none.
  auto flag = [&](const char* key) -> std::optional<bool> {
    const auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    const QString v = QString::fromStdString(it->second).trimmed().toLower();
    if (v == "true") return true;
    if (v == "false") return false;
    return std::nullopt;
  };
  o.precise_instants = flag(kPreciseKey).value_or(true);
  o.twilights = flag(kTwilightsKey);
  o.rises = flag(kRisesKey);
  o.transits = flag(kTransitsKey);
  o.screendump = flag(kScreendumpKey);
  o.fotolicht = flag(kPhotoLightKey);
  o.leaders = flag(kLeadersKey);
  o.legend = flag(kLegendKey);
  o.now_line = flag(kNowLineKey);
  if (const auto it = values.find(kGeometryKey); it != values.end()) o.geometry = it->second;
  return o;
}

void WriteOptionsFile(const std::filesystem::path& path, const WindowOptions& options) {
  auto text = [](bool b) { return std::string(b ? "true" : "false"); };
  std::vector<std::pair<std::string, std::string>> values{{kPreciseKey, text(options.precise_instants)}};
  if (options.twilights) values.emplace_back(kTwilightsKey, text(*options.twilights));
  if (options.rises) values.emplace_back(kRisesKey, text(*options.rises));
  if (options.transits) values.emplace_back(kTransitsKey, text(*options.transits));
  if (options.fotolicht) values.emplace_back(kPhotoLightKey, text(*options.fotolicht));
  if (options.leaders) values.emplace_back(kLeadersKey, text(*options.leaders));
  if (options.legend) values.emplace_back(kLegendKey, text(*options.legend));
  if (options.now_line) values.emplace_back(kNowLineKey, text(*options.now_line));
  if (!options.geometry.empty()) values.emplace_back(kGeometryKey, options.geometry);
  if (options.screendump) values.emplace_back(kScreendumpKey, text(*options.screendump));
  WriteOptionValues(path, values);
}

std::optional<Language> ReadLanguageOption(const std::filesystem::path& path) {
  const auto values = ReadOptionValues(path, {kLanguageKey});
  const auto it = values.find(kLanguageKey);
  if (it == values.end()) return std::nullopt;
  return ParseLanguage(QString::fromStdString(it->second).trimmed().toLower().toStdString());
}

void WriteLanguageOption(const std::filesystem::path& path, Language language) {
  WriteOptionValues(path, {{kLanguageKey, std::string(LanguageCode(language))}});
}

}  // namespace vk
