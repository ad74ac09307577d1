#pragma once
// Clocks, peak memory and the one-line result every benchmark prints for bench.sh's summary.
#include <sys/resource.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace bench {

inline double Seconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
inline double Wall() { return Seconds(CLOCK_MONOTONIC); }
inline double Cpu() { return Seconds(CLOCK_PROCESS_CPUTIME_ID); }

// Peak resident memory of this process so far, in KiB.
inline long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// "RESULT|what|wall|CPU|peak KiB|note": times as printed (with their unit), read by bench.sh.
inline void Result(const std::string& what, const std::string& wall, const std::string& cpu, long peakKiB,
                   const std::string& note = "") {
  std::printf("RESULT|%s|%s|%s|%ld|%s\n", what.c_str(), wall.c_str(), cpu.c_str(), peakKiB, note.c_str());
  std::fflush(stdout);
}

inline std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f ms", seconds * 1000);
  return text;
}

inline std::string Sec(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", seconds);
  return text;
}

}  // namespace bench
