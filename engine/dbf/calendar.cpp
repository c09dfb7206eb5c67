#include "engine/dbf/calendar.h"

#include <charconv>
#include <chrono>
#include <cmath>

#include "engine/dbf/digit_pairs.h"

namespace dravella::engine::dbf {

bool CalendarValue::FitsDateField() const {
  return !time_only && !phantom && !has_time() && year >= 1 && year <= 9999;
}

CalendarValue SerialToCalendar(double serial, DateSystem system) {
  constexpr long kSecondsPerDay = 86400;
  // For a date serial (not negative) truncation is the floor.
  long days = serial >= 0 ? static_cast<long>(serial) : static_cast<long>(std::floor(serial));
  const double fraction = serial - static_cast<double>(days);
  // The product is the one the reference readers round, so ties fall alike
  // (a whole day, the usual date, needs no rounding at all).
  long seconds = fraction == 0 ? 0 : std::lrint(fraction * static_cast<double>(kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {
    ++days;
    seconds -= kSecondsPerDay;
  }
  CalendarValue value;
  value.hour = static_cast<int>(seconds / 3600);
  value.minute = static_cast<int>(seconds / 60 % 60);
  value.second = static_cast<int>(seconds % 60);
  if (days == 0) {
    value.time_only = true;
    return value;
  }

  using namespace std::chrono;
  sys_days date;
  if (system == DateSystem::k1904) {
    date = sys_days{1904y / January / 1} + std::chrono::days{days};
  } else if (days < 60) {
    date = sys_days{1899y / December / 31} + std::chrono::days{days};
  } else if (days == 60) {
    value.phantom = true;
    value.year = 1900, value.month = 2, value.day = 29;
    return value;
  } else {
    // From serial 61 on, the count skips the phantom day.
    date = sys_days{1899y / December / 30} + std::chrono::days{days};
  }
  const year_month_day ymd{date};
  value.year = static_cast<int>(ymd.year());
  value.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  value.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  return value;
}

namespace {

char* WriteDigits(char* out, int value, int width) {
  // Two digits at a time from the right, then a last one if width is odd.
  char* end = out + width;
  char* p = end;
  // Parts of a date are never negative; a value that is (from a serial that
  // is no date) is written as zeros rather than read outside the table.
  if (value < 0) value = 0;
  while (p - out >= 2) {
    p -= 2;
    WriteTwoDigits(p, static_cast<unsigned>(value % 100));
    value /= 100;
  }
  if (p != out) *--p = static_cast<char>('0' + value % 10);
  return end;
}

char* WriteYear(char* out, int year) {
  if (year <= 9999) return WriteDigits(out, year, 4);
  return std::to_chars(out, out + 6, year).ptr;  // the 1904 system reaches past 9999
}

char* WriteTime(char* out, const CalendarValue& value) {
  out = WriteDigits(out, value.hour, 2);
  *out++ = ':';
  out = WriteDigits(out, value.minute, 2);
  *out++ = ':';
  return WriteDigits(out, value.second, 2);
}

}  // namespace

size_t WriteDateText(const CalendarValue& value, char* out) {
  char* p = out;
  if (value.time_only) {
    p = WriteTime(p, value);
    return static_cast<size_t>(p - out);
  }
  p = WriteYear(p, value.year);
  *p++ = '-';
  p = WriteDigits(p, value.month, 2);
  *p++ = '-';
  p = WriteDigits(p, value.day, 2);
  if (value.has_time()) {
    *p++ = ' ';
    p = WriteTime(p, value);
  }
  return static_cast<size_t>(p - out);
}

size_t DateTextLength(const CalendarValue& value) {
  constexpr size_t kTime = 8;  // HH:MM:SS
  if (value.time_only) return kTime;
  // The 1904 system reaches past 9999; such a year is written in full.
  const size_t year = value.year <= 9999 ? 4 : (value.year <= 99999 ? 5 : 6);
  const size_t date = year + 6;  // -MM-DD
  return value.has_time() ? date + 1 + kTime : date;
}

void WriteDateDigits(const CalendarValue& value, char* out) {
  out = WriteDigits(out, value.year, 4);
  out = WriteDigits(out, value.month, 2);
  WriteDigits(out, value.day, 2);
}

}  // namespace dravella::engine::dbf
