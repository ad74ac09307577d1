#pragma once
// Dates, ticks and random numbers.
#include <cstdint>
#include <functional>
#include <optional>

namespace fw {

// A moment in local time. A new Date is now.
struct Date {
  Date();
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  int DayOfWeek = 0;       // 1 = Sunday ... 7 = Saturday
  double GMTOffset = 0.0;  // hours east of GMT, e.g. 9, 5.5, -3.5
};

// Sixtieths of a second since an arbitrary start, on a monotonic clock.
int64_t Ticks();

// Uniform in [0, 1).
double Rnd();

namespace testing {
// Fixes what a new Date holds (local time and its GMT offset); nullopt goes back to the clock.
struct FixedDate {
  int Year, Month, Day, Hour, Minute, Second;
  double GMTOffset;
};
void SetFixedDate(std::optional<FixedDate> date);
void SeedRnd(uint32_t seed);
}  // namespace testing

}  // namespace fw
