// Date with its test hook, Ticks in sixtieths of a second, Rnd in [0, 1).
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/core/DateTime.h"

using namespace fw;

TEST(CoreDateTime, FixedDateGivesItsFieldsAndDayOfWeekFromSunday) {
  fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 12, 6, 13, 5, 9, 9.0});
  Date d;
  EXPECT_EQ(d.Year, 2026);
  EXPECT_EQ(d.Month, 12);
  EXPECT_EQ(d.Day, 6);
  EXPECT_EQ(d.Hour, 13);
  EXPECT_EQ(d.Minute, 5);
  EXPECT_EQ(d.Second, 9);
  EXPECT_EQ(d.DayOfWeek, 1);  // a Sunday
  EXPECT_EQ(d.GMTOffset, 9.0);

  fw::testing::SetFixedDate(fw::testing::FixedDate{2024, 2, 29, 0, 0, 0, -3.5});
  Date leap;
  EXPECT_EQ(leap.DayOfWeek, 5);  // a Thursday
  EXPECT_EQ(leap.GMTOffset, -3.5);

  fw::testing::SetFixedDate(fw::testing::FixedDate{2027, 1, 2, 23, 59, 59, 5.5});
  EXPECT_EQ(Date().DayOfWeek, 7);  // a Saturday

  fw::testing::SetFixedDate(std::nullopt);
  Date now;
  EXPECT_GE(now.Year, 2024);
  EXPECT_GE(now.DayOfWeek, 1);
  EXPECT_LE(now.DayOfWeek, 7);
  EXPECT_GE(now.GMTOffset, -12.0);
  EXPECT_LE(now.GMTOffset, 14.0);
}

TEST(CoreDateTime, TicksCountSixtiethsOfASecond) {
  auto wallStart = std::chrono::steady_clock::now();
  int64_t start = Ticks();
  QTest::qWait(500);
  int64_t elapsed = Ticks() - start;
  auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - wallStart);
  EXPECT_GE(elapsed, 29);
  EXPECT_NEAR(double(elapsed), wallMs.count() * 60.0 / 1000.0, 2.0);
  int64_t a = Ticks(), b = Ticks();
  EXPECT_LE(a, b);
}

TEST(CoreDateTime, RndStaysInUnitIntervalAndFollowsTheSeed) {
  fw::testing::SeedRnd(7);
  std::vector<double> first;
  for (int i = 0; i < 12; ++i) first.push_back(Rnd());
  fw::testing::SeedRnd(7);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(Rnd(), first[size_t(i)]);
  int buckets[36] = {};
  for (int i = 0; i < 36000; ++i) {
    double r = Rnd();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    ++buckets[int(r * 36)];
  }
  for (int b : buckets) EXPECT_GT(b, 700);  // every boundary character gets drawn
}
