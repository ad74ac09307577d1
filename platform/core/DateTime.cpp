#include "platform/core/DateTime.h"

#include <QDateTime>
#include <QTimeZone>
#include <chrono>
#include <random>

namespace fw {
namespace {
std::optional<testing::FixedDate> g_fixedDate;
std::mt19937& Generator() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}
}  // namespace

Date::Date() {
  if (g_fixedDate) {
    const auto& f = *g_fixedDate;
    Year = f.Year, Month = f.Month, Day = f.Day, Hour = f.Hour, Minute = f.Minute, Second = f.Second;
    GMTOffset = f.GMTOffset;
    DayOfWeek = QDate(Year, Month, Day).dayOfWeek() % 7 + 1;  // Qt: 1 = Monday ... 7 = Sunday
    return;
  }
  QDateTime now = QDateTime::currentDateTime();
  QDate d = now.date();
  QTime t = now.time();
  Year = d.year(), Month = d.month(), Day = d.day();
  Hour = t.hour(), Minute = t.minute(), Second = t.second();
  DayOfWeek = d.dayOfWeek() % 7 + 1;
  GMTOffset = now.offsetFromUtc() / 3600.0;
}

int64_t Ticks() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count() * 60 / 1000000;
}

double Rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(Generator()); }

namespace testing {
void SetFixedDate(std::optional<FixedDate> date) { g_fixedDate = date; }
void SeedRnd(uint32_t seed) { Generator().seed(seed); }
}  // namespace testing

}  // namespace fw
