// Date serials as calendar texts in both date systems.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "engine/dbf/calendar.h"

namespace dravella::engine::dbf {
namespace {

struct DateCase {
  DateSystem system;
  double serial;
  const char* text;
  const char* digits;  // nullptr: not a value a D field can hold
};

// The date text; a column is measured without writing it, so the length
// given beforehand must be the length written.
std::string TextOf(const CalendarValue& value) {
  char text[kDateTextCapacity];
  const size_t length = WriteDateText(value, text);
  EXPECT_EQ(DateTextLength(value), length) << std::string(text, length);
  return std::string(text, length);
}

TEST(Calendar, SerialsInBothDateSystems) {
  constexpr auto k1900 = DateSystem::k1900;
  constexpr auto k1904 = DateSystem::k1904;
  const DateCase cases[] = {
      {k1900, 0, "00:00:00", nullptr},                // below one day: a time
      {k1900, 0.5, "12:00:00", nullptr},
      {k1900, 0.0000057, "00:00:00", nullptr},        // half a second rounds down
      {k1900, 1, "1900-01-01", "19000101"},
      {k1900, 59, "1900-02-28", "19000228"},
      {k1900, 60, "1900-02-29", nullptr},             // the phantom day
      {k1900, 60.5, "1900-02-29 12:00:00", nullptr},
      {k1900, 61, "1900-03-01", "19000301"},
      {k1900, 43831, "2020-01-01", "20200101"},
      {k1900, 43831.75, "2020-01-01 18:00:00", nullptr},
      {k1900, 35000.123456, "1995-10-28 02:57:47", nullptr},
      {k1900, 1.99999999, "1900-01-02", "19000102"},  // rounds up to the next day
      {k1900, 0.999999999, "1900-01-01", "19000101"}, // ... out of the time of day
      {k1900, 2958465, "9999-12-31", "99991231"},
      {k1900, 2958465.99999, "9999-12-31 23:59:59", nullptr},
      {k1904, 0, "00:00:00", nullptr},
      {k1904, 0.25, "06:00:00", nullptr},
      {k1904, 1, "1904-01-02", "19040102"},
      {k1904, 1.5, "1904-01-02 12:00:00", nullptr},
      {k1904, 2957003, "9999-12-31", "99991231"},
      {k1904, 2958465, "10004-01-01", nullptr},       // past what a D field holds
  };
  for (const DateCase& c : cases) {
    const CalendarValue value = SerialToCalendar(c.serial, c.system);
    SCOPED_TRACE(testing::Message() << "serial " << c.serial << " in the "
                                    << (c.system == k1900 ? "1900" : "1904") << " system");
    EXPECT_EQ(TextOf(value), c.text);
    EXPECT_EQ(value.FitsDateField(), c.digits != nullptr);
    if (c.digits != nullptr) {
      char digits[8];
      WriteDateDigits(value, digits);
      EXPECT_EQ(std::string(digits, 8), c.digits);
    }
  }
}

TEST(Calendar, OnlyZeroToTheLargestSerialIsADate) {
  EXPECT_TRUE(IsDateSerial(0));
  EXPECT_TRUE(IsDateSerial(kLargestDateSerial));
  EXPECT_FALSE(IsDateSerial(-0.5));
  EXPECT_FALSE(IsDateSerial(2958466));
  EXPECT_FALSE(IsDateSerial(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
}  // namespace dravella::engine::dbf
