#include "runtime/calendar.h"

namespace zarvek {

namespace {

// Days from 1970-01-01 and back (H. Hinnant's civil-date algorithms).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr int64_t kEpochShift = DaysFromCivil(1899, 12, 30);  // day 0 of our counting

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

TDateTimeFields SplitDateTime(int64_t millis) {
  const int64_t days = FloorDiv(millis, kMillisPerDay);
  int64_t ms = millis - days * kMillisPerDay;
  TDateTimeFields f;
  CivilFromDays(days + kEpochShift, f.year, f.month, f.day);
  f.hour = static_cast<int>(ms / 3'600'000);
  ms %= 3'600'000;
  f.minute = static_cast<int>(ms / 60'000);
  ms %= 60'000;
  f.second = static_cast<int>(ms / 1000);
  f.millisecond = static_cast<int>(ms % 1000);
  return f;
}

std::optional<int64_t> BuildDateTime(const TDateTimeFields& f) {
  if (f.year < 1 || f.year > 9999 || f.month < 1 || f.month > 12) return std::nullopt;
  if (f.day < 1 || f.day > DaysInMonth(f.year, f.month)) return std::nullopt;
  if (f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 ||
      f.second > 59 || f.millisecond < 0 || f.millisecond > 999)
    return std::nullopt;
  const int64_t days = DaysFromCivil(f.year, f.month, f.day) - kEpochShift;
  return days * kMillisPerDay + f.hour * 3'600'000LL + f.minute * 60'000LL + f.second * 1000LL +
         f.millisecond;
}

int DayOfWeek(int64_t millis) {
  // Day 0 (30 December 1899) was a Saturday.
  const int64_t days = FloorDiv(millis, kMillisPerDay);
  const int64_t fromMonday = ((days + 5) % 7 + 7) % 7;
  return static_cast<int>(fromMonday) + 1;
}

}  // namespace zarvek
