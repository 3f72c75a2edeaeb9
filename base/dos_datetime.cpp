#include "base/dos_datetime.h"

#include <fmt/format.h>

#include "base/encoding.h"

namespace kadrel {

DosStamp PackDosStamp(const CalendarTime& t) {
  DosStamp s;
  s.date = static_cast<uint16_t>((((t.year - 1980) & 127) << 9) | ((t.month & 15) << 5) | (t.day & 31));
  s.time = static_cast<uint16_t>(((t.hour & 31) << 11) | ((t.minute & 63) << 5) | ((t.second & 62) >> 1));
  return s;
}

CalendarTime UnpackDosStamp(uint16_t date, uint16_t time) {
  CalendarTime t;
  t.year = (date >> 9) + 1980;
  t.month = (date >> 5) & 15;
  t.day = date & 31;
  t.hour = time >> 11;
  t.minute = (time >> 5) & 63;
  t.second = (time & 31) * 2;
  return t;
}

DosStamp DosStampFromUnixTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return PackDosStamp({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

bool IsValidCalendarTime(const CalendarTime& t) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.month < 1 || t.month > 12 || t.day < 1) return false;
  bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  int days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
  return t.day <= days && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
}

std::string DateText(uint16_t date, uint16_t time, int precision, bool fourDigitYear) {
  CalendarTime t = UnpackDosStamp(date, time);
  if (!IsValidCalendarTime(t)) {
    static const std::string failed = Cp932("取得に失敗");
    return failed;
  }
  std::string s = fourDigitYear ? fmt::format("{:04}/", t.year) : fmt::format("{:02}/", t.year % 100);
  s += fmt::format("{:02}/{:02}", t.month, t.day);
  if (precision == 1) s += fmt::format(" {:02}:{:02}", t.hour, t.minute);
  if (precision == 2) s += fmt::format(" {:02}:{:02}:{:02}", t.hour, t.minute, t.second);
  return s;
}

}  // namespace kadrel
