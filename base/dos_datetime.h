#pragma once
// Packed MS-DOS dates and times, as records, index files and archives store them.

#include <cstdint>
#include <ctime>
#include <string>

namespace kadrel {

struct DosStamp {
  uint16_t date = 0;
  uint16_t time = 0;
};

struct CalendarTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

DosStamp PackDosStamp(const CalendarTime& t);
CalendarTime UnpackDosStamp(uint16_t date, uint16_t time);
// File time-stamp (seconds since the epoch) in local time.
DosStamp DosStampFromUnixTime(std::time_t t);
bool IsValidCalendarTime(const CalendarTime& t);

// Precision 0 date only, 1 with hh:nn, 2 with hh:nn:ss. Invalid stamps give "取得に失敗" (CP932).
std::string DateText(uint16_t date, uint16_t time, int precision, bool fourDigitYear);

}  // namespace kadrel
