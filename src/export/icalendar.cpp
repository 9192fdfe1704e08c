#include "export/icalendar.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "chart/day_chart.h"
#include "base/atomic_file.h"
#include "base/number_text.h"
#include "language/translations.h"

namespace vk {

namespace {

constexpr double kUnixEpochJD = 2440587.5;

// The bytes of the UTF-8 character `text` starts with (2 to 4), or 0 when it
// starts with no well-formed one (a stray continuation byte, an overlong form,
// a surrogate, beyond U+10FFFF, cut short).
std::size_t Utf8_Length(std::string_view text) {
  const auto at = [&](std::size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u; };
  const unsigned lead = at(0);
  std::size_t n = 0;
  unsigned lo = 0x80, hi = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) n = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) n = 3, lo = lead == 0xE0 ? 0xA0 : 0x80, hi = lead == 0xED ? 0x9F : 0xBF;
  else if (lead >= 0xF0 && lead <= 0xF4) n = 4, lo = lead == 0xF0 ? 0x90 : 0x80, hi = lead == 0xF4 ? 0x8F : 0xBF;
  else return 0;
  if (at(1) < lo || at(1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if ((at(k) & 0xC0) != 0x80) return 0;
  return n;
}

std::string Two(unsigned v) { return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10); }

// "YYYYMMDDTHHMMSSZ" of Unix seconds.
std::string Utc_Text(std::int64_t unix_seconds) {
  using namespace std::chrono;
  const sys_seconds t{seconds{unix_seconds}};
  const sys_days day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss hms{t - day};
  const int y = static_cast<int>(ymd.year());
  return std::to_string(y / 1000) + std::to_string(y / 100 % 10) + Two(static_cast<unsigned>(y % 100)) +
         Two(static_cast<unsigned>(ymd.month())) + Two(static_cast<unsigned>(ymd.day())) + "T" +
         Two(static_cast<unsigned>(hms.hours().count())) + Two(static_cast<unsigned>(hms.minutes().count())) +
         Two(static_cast<unsigned>(hms.seconds().count())) + "Z";
}

std::int64_t Unix_Seconds(double jd_ut) { return std::llround((jd_ut - kUnixEpochJD) * 86400.0); }

// FNV-1a, 64 bits.
std::uint64_t Hash(std::string_view text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string Hex(std::uint64_t v) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = kDigits[v & 15];
  return s;
}

std::string Without_Tabs(std::string text) {
  std::erase(text, '\t');
  return text;
}

// "Morgen: Beginn der …" for the twilights, else the stored name (in German;
// in English the kind's translation).
std::string Event_Name(const tEventData& e) {
  tEventData bare;
  bare.event = e.event;
  bare.note = "\t";
  return Event_Text(bare);
}

// The place's name, or else the site's coordinates.
std::string Location_Text(const tCalendarRequest& request) {
  if (!request.place.empty()) return request.place;
  const Site& site = request.site;
  return FormatFixed(std::fabs(site.Site_nLat), 2) + "° " + (site.Site_nLat < 0 ? "S" : "N") + ", " +
         FormatFixed(std::fabs(site.Site_eLon), 2) + "° " +
         (site.Site_eLon < 0 ? "W"
                             : QCoreApplication::translate("Calendar", "O", "east, after the longitude").toStdString());
}

}  // namespace

std::string Ical_Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      // A whole UTF-8 character, or U+FFFD for a byte that starts none.
      const std::size_t n = Utf8_Length(text.substr(i));
      if (n == 0) {
        out += "\xEF\xBF\xBD";
      } else {
        out.append(text.substr(i, n));
        i += n - 1;
      }
      continue;
    }
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ';': out += "\\;"; break;
      case ',': out += "\\,"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += c; break;
      default:
        // No other control character may stand in a calendar's text.
        if (u >= 0x20 && c != 0x7F) out += c;
    }
  }
  return out;
}

std::string Ical_Fold(std::string_view line) {
  std::string out;
  std::size_t limit = 75;  // octets of this output line, the leading blank included
  while (line.size() > limit) {
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    if (cut == 0) cut = limit;  // no character starts within the limit: no UTF-8 text
    out.append(line.substr(0, cut)).append("\r\n ");
    line.remove_prefix(cut);
    limit = 74;
  }
  out.append(line).append("\r\n");
  return out;
}

std::string Ical_Utc(double jd_ut) { return Utc_Text(Unix_Seconds(jd_ut)); }

std::string Ical_Uid(const tEventData& e, const Site& site) {
  const std::string key = std::string(e.body) + "|" + std::string(e.event) + "|" + FormatFixed(site.Site_nLat, 4) + "|" +
                          FormatFixed(site.Site_eLon, 4);
  return Ical_Utc(e.jd_ut) + "-" + Hex(Hash(key)) + "@vesperkalend";
}

std::string Calendar_Head(const tCalendarRequest& request) {
  std::string out;
  for (const char* text : {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Vesperkalend//Vesperkalend " VK_VERSION_TEXT "//DE",
                           "CALSCALE:GREGORIAN", "METHOD:PUBLISH"})
    out += Ical_Fold(text);
  // The name calendar programs show for the imported or subscribed calendar:
  // RFC 7986's NAME, and the older X-WR-CALNAME that most programs read.
  const std::string name = Ical_Escape("Vesperkalend: " + Location_Text(request));
  out += Ical_Fold("NAME:" + name) + Ical_Fold("X-WR-CALNAME:" + name);
  return out;
}

std::string Calendar_Tail() { return Ical_Fold("END:VCALENDAR"); }

std::string Calendar_Text(const EventStore& store, const tCalendarRequest& request, int* count) {
  if (count != nullptr) *count = 0;
  return Calendar_Head(request) + Calendar_Events(store, request, count) + Calendar_Tail();
}

std::string Calendar_Events(const EventStore& store, const tCalendarRequest& request, int* count) {
  std::string out;
  const auto line = [&out](std::string_view text) { out += Ical_Fold(text); };
  const std::string stamp = Utc_Text(request.stamp_unix);
  const std::string geo = "GEO:" + FormatFixed(request.site.Site_nLat, 6) + ";" + FormatFixed(request.site.Site_eLon, 6);
  const std::string location = "LOCATION:" + Ical_Escape(Location_Text(request));
  int n = 0;
  const std::string local_time = QCoreApplication::translate("Calendar", "Ortszeit: ").toStdString();
  const auto first = Find_Event(store, 1, request.from_jd, {}, {});
  const int last = std::min(store.Event_Count, static_cast<int>(store.Event_Tab.size()) - 1);
  for (int i = first.value_or(last + 1); i <= last; ++i) {
    const tEventData& e = store.Event_Tab[static_cast<std::size_t>(i)];
    if (e.jd_local >= request.to_jd + 1.0) break;
    const auto kind = Group_Of(e);
    if (!kind || (request.kinds & Group_Bit(*kind)) == 0 || (!request.equator_seasons && Equator_Season(e))) continue;
    line("BEGIN:VEVENT");
    line("UID:" + Ical_Uid(e, request.site));
    line("DTSTAMP:" + stamp);
    // An eclipse or occultation lasts from its first contact to its last; its contacts are described.
    const std::optional<HeadlineSpan> span =
        *kind == EventCategory::Eclipse ? HeadlineSpanAt(store.headlines, e.jd_ut) : std::nullopt;
    line("DTSTART:" + Ical_Utc(span ? span->first : e.jd_ut));
    if (span) line("DTEND:" + Ical_Utc(span->last));
    line("SUMMARY:" + Ical_Escape(std::string(BodyText(e.body, UiLanguage())) + ": " + Event_Name(e)));
    std::string contacts;
    if (span)
      for (const auto& [name, jd] : span->contacts)
        contacts.append("\n").append(name).append(": ").append(Date_Time_Text(LocalJD(jd, request.site)));
    line("DESCRIPTION:" +
         Ical_Escape(Without_Tabs(Event_Text(e)) + "\n" + local_time + Date_Time_Text(e.jd_local) + contacts));
    line(geo);
    line(location);
    line("TRANSP:TRANSPARENT");
    line("END:VEVENT");
    ++n;
  }
  if (count != nullptr) *count += n;
  return out;
}

void Write_Text_File(const std::filesystem::path& path, std::string_view text) {
  AtomicFile file(path);
  file.write(text);
  file.commit();
}

}  // namespace vk
