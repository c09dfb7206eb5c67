// Date serial numbers as calendar dates and times, in both date systems.
//
// 1900 system: serial 1 is 1900-01-01, 59 is 1900-02-28, 60 the day the
// spreadsheet believes in, 1900-02-29, and 61 is 1900-03-01. 1904 system:
// serial 0 is 1904-01-01. In both, a value below one day is a time of day.
#pragma once

#include <cstddef>

#include "engine/cell.h"

namespace dravella::engine::dbf {

// The largest serial that is a date (9999-12-31 23:59:59 in the 1900 system).
inline constexpr double kLargestDateSerial = 2958465.99999;

// A finite serial from 0 to kLargestDateSerial (NaN fails both comparisons).
inline bool IsDateSerial(double serial) { return serial >= 0 && serial <= kLargestDateSerial; }

struct CalendarValue {
  bool time_only = false;  // below one day: only the time is shown
  bool phantom = false;    // the 1900 system's non-existent 1900-02-29
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;

  bool has_time() const { return hour != 0 || minute != 0 || second != 0; }
  // A real whole day of years 1 to 9999: what a D field can hold.
  bool FitsDateField() const;
};

// The serial (IsDateSerial) rounded to the nearest second, halves to even.
CalendarValue SerialToCalendar(double serial, DateSystem system);

// Room enough for the longest date text.
inline constexpr size_t kDateTextCapacity = 24;

// YYYY-MM-DD, YYYY-MM-DD HH:MM:SS, or HH:MM:SS for a time of day.
size_t WriteDateText(const CalendarValue& value, char* out);

// The length of that text, without writing it.
size_t DateTextLength(const CalendarValue& value);

// YYYYMMDD (8 characters) of a value that FitsDateField.
void WriteDateDigits(const CalendarValue& value, char* out);

}  // namespace dravella::engine::dbf
