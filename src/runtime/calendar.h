// Dates and times of the machine clock as milliseconds counted from 30 December 1899
// (day 0 of the platform's date-time values), in the proleptic Gregorian calendar.
#pragma once

#include <cstdint>
#include <optional>

namespace zarvek {

inline constexpr int64_t kMillisPerDay = 86'400'000;

struct TDateTimeFields {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TDateTimeFields SplitDateTime(int64_t millis);
// Nothing when the fields do not form a valid date (years 1 to 9999) and time.
std::optional<int64_t> BuildDateTime(const TDateTimeFields& fields);
// 1 = Monday ... 7 = Sunday.
int DayOfWeek(int64_t millis);

}  // namespace zarvek
