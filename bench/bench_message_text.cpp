// Cost of building one of the program's own messages and its text after DATA: Date, an encoded
// Subject, From, To, X-Mailer and a plain ISO-2022-JP body of about ten lines.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/BenchReport.h"

#include "platform/core/DateTime.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

namespace {

std::string ToJIS(const std::string& utf8) {
  auto converter = fw::GetTextConverter(fw::Encodings::UTF8, *fw::GetTextEncoding(0x820));
  return converter ? converter->convert(utf8) : utf8;
}

void BM_ProgramMessageText(benchmark::State& state) {
  const std::string subject = "=?ISO-2022-JP?B?" + fw::EncodeBase64(ToJIS("新製品発表会のご案内")) + "?= ";
  const std::string body = ToJIS(
      "山田 太郎 様\r\n\r\n"
      "いつもお世話になっております。\r\n"
      "このたび新製品の発表会を開催する運びとなりました。\r\n"
      "日時：十二月六日（日）午後一時から\r\n"
      "会場：本社ビル三階 大会議室\r\n"
      "当日は新製品の実演と質疑応答を予定しております。\r\n"
      "ご多忙中とは存じますが、ぜひご来場ください。\r\n"
      "ご不明な点はお気軽にお問い合わせください。\r\n"
      "今後ともよろしくお願い申し上げます。\r\n");
  for (auto _ : state) {
    EmailMessage m;
    m.FromAddress("sender@example.com");
    m.Subject(subject);
    m.BodyPlainText = body;
    m.Headers.AppendHeader("X-Mailer", "Mailer 1.0");
    m.AddRecipient("taro@example.com");
    m.Headers.SetHeader("Date", m._GetEmailDateStr(fw::Date()));
    benchmark::DoNotOptimize(m.Source());
  }
}
BENCHMARK(BM_ProgramMessageText)->Unit(benchmark::kMicrosecond);

// The console output (without colours), and each run's times per iteration kept for the summary line.
class KeepingReporter : public benchmark::ConsoleReporter {
 public:
  KeepingReporter() : ConsoleReporter(OO_Tabular) {}
  std::vector<Run> runs;
  void ReportRuns(const std::vector<Run>& report) override {
    ConsoleReporter::ReportRuns(report);
    runs.insert(runs.end(), report.begin(), report.end());
  }
};

std::string Microseconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f us", value);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  KeepingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const auto& run : reporter.runs)
    if (run.run_type == benchmark::BenchmarkReporter::Run::RT_Iteration && !run.error_occurred)
      bench::Result("build the program's message text", Microseconds(run.GetAdjustedRealTime()),
                    Microseconds(run.GetAdjustedCPUTime()), bench::PeakKiB(),
                    "per message, " + std::to_string(run.iterations) + " iterations");
  return 0;
}
