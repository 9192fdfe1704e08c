#include "timecalc/time_zones.h"

namespace vk {

const std::array<tTZone_Ary, kZoneCount> TimeZones = {{
    {-12, "UTC-12:00", "UTC-12      BIT; IDLW"},
    {-11, "UTC-11:00", "UTC-11      NUT; SST"},
    {-10, "UTC-10:00", "UTC-10      CKT; HST; SDT; TAHT"},
    {-9.5, "UTC-09:30", "UTC-09:30   MART; MIT"},
    {-9, "UTC-09:00", "UTC-09      AKST; GAMT; GIT; HDT"},
    {-8, "UTC-08:00", "UTC-08      AKDT; CIST; PST"},
    {-7, "UTC-07:00", "UTC-07      MST; PDT"},
    {-6, "UTC-06:00", "UTC-06      CST; EAST; GALT; MDT"},
    {-5, "UTC-05:00", "UTC-05      ACT; CDT; COT; CST; EASST; ECT; EST; PET"},
    {-4, "UTC-04:00", "UTC-04      AMT; AST; BOT; CDT; CLT; COST; ECT; EDT; FKT; GYT; PYT; VET"},
    {-3.5, "UTC-03:30", "UTC-03:30   NST; NT"},
    {-3, "UTC-03:00", "UTC-03      ADT; AMST; ART; BRT; CLST; FKST; GFT; PMST; PYST; ROTT; SRT; UYT"},
    {-2.5, "UTC-02:30", "UTC-02:30   NDT"},
    {-2, "UTC-02:00", "UTC-02      BRST; FNT; GST; PMDT; UYST"},
    {-1, "UTC-01:00", "UTC-01      AZOT; CVT"},
    {0, "UTC      ", "UTC\xC2\xB1" "00      AZOST; EGST; GMT; UTC; WET"},
    {1, "UTC+01:00", "UTC+01      CET; DFT; IST; MET; WAT; WEST"},
    {2, "UTC+02:00", "UTC+02      CAT; CEST; EET; HAEC; IST; KALT; MEST; SAST; WAST"},
    {3, "UTC+03:00", "UTC+03      AST; EAT; EEST; FET; IDT; IOT; MSK; SYOT; TRT"},
    {3.5, "UTC+03:30", "UTC+03:30   IRST"},
    {4, "UTC+04:00", "UTC+04      AMT; AZT; GET; GST; MUT; RET; SAMT; SCT; VOLT"},
    {4.5, "UTC+04:30", "UTC+04:30   AFT; IRDT"},
    {5, "UTC+05:00", "UTC+05      HMT; MAWT; MVT; ORAT; PKT; TFT; TJT; TMT; UZT; YEKT"},
    {5.5, "UTC+05:30", "UTC+05:30   IST; SLST"},
    {5.75, "UTC+05:45", "UTC+05:45   NPT"},
    {6, "UTC+06:00", "UTC+06      BIOT; BST; BTT; KGT; OMST; VOST"},
    {6.5, "UTC+06:30", "UTC+06:30   CCT; MMT"},
    {7, "UTC+07:00", "UTC+07      CXT; DAVT; HOVT; ICT; KRAT; THA; WIT"},
    {8, "UTC+08:00", "UTC+08      AWST; BDT; CHOT; CIT; CST; CT; HKT; HOVST; IRKT; MST; MYT; PHT; PST; SGT; SST; ULAT; WST"},
    {8.75, "UTC+08:45", "UTC+08:45   ACWST; CWST"},
    {9, "UTC+09:00", "UTC+09      CHOST; EIT; JST; KST; TLT; ULAST; YAKT"},
    {9.5, "UTC+09:30", "UTC+09:30   ACST"},
    {10, "UTC+10:00", "UTC+10      AEST; CHST; CHUT; DDUT; PGT; VLAT"},
    {10.5, "UTC+10:30", "UTC+10:30   ACDT; LHST"},
    {11, "UTC+11:00", "UTC+11      AEDT; BST; KOST; LHST; MIST; NCT; NFT; PONT; SAKT; SBT; SRET; VUT"},
    {12, "UTC+12:00", "UTC+12      FJT; GILT; MAGT; MHT; NZST; PETT; TVT; WAKT"},
    {12.75, "UTC+12:45", "UTC+12:45   CHAST"},
    {13, "UTC+13:00", "UTC+13      NZDT; PHOT; TKT; TOT"},
    {13.75, "UTC+13:45", "UTC+13:45   CHADT"},
    {14, "UTC+14:00", "UTC+14      LINT"},
}};

std::string_view ZoneListText(int zone) {
  std::string_view s = TimeZones.at(static_cast<std::size_t>(zone)).label;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace vk
