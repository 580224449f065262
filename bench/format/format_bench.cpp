// Formatting a merge field on every label: a number and a date through a
// compiled pattern, through Format() (cache look-up) and the counter. A label
// print has 0.08 ms in all; a field's format should take a small part of it.
#include "platform/format.h"
#include "platform/format_counter.h"

#include <QDateTime>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void CompiledNumber(benchmark::State& state) {
  const auto pattern = pv::CompiledFormat::Of(QStringLiteral("#,##0.00"));
  double v = 1234.567;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pattern->Apply(v));
    v += 1.25;
  }
}
BENCHMARK(CompiledNumber);

void CompiledDate(benchmark::State& state) {
  const auto pattern = pv::CompiledFormat::Of(QStringLiteral("dddd d mmmm yyyy hh:nn"));
  // Values as a data source gives them: local date and times.
  std::vector<QVariant> values;
  for (int i = 0; i < 64; ++i) values.emplace_back(QDateTime(QDate(2026, 1, 1).addDays(i * 5), QTime(i % 24, i, 9)));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(pattern->Apply(values[i++ % values.size()]));
}
BENCHMARK(CompiledDate);

void FormatNumberByPattern(benchmark::State& state) {
  const QString pattern = QStringLiteral("#,##0.00");
  double v = 1234.567;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pv::Format(v, pattern));
    v += 1.25;
  }
}
BENCHMARK(FormatNumberByPattern);

void FormatDateByPattern(benchmark::State& state) {
  const QString pattern = QStringLiteral("dd/mm/yyyy");
  const QVariant v = QDate(2026, 12, 10);
  for (auto _ : state) benchmark::DoNotOptimize(pv::Format(v, pattern));
}
BENCHMARK(FormatDateByPattern);

void Counter(benchmark::State& state) {
  const QString pattern = QStringLiteral("#100+5#");
  std::int32_t index = 0;
  for (auto _ : state) benchmark::DoNotOptimize(pv::CounterValue(pattern, index++));
}
BENCHMARK(Counter);

}  // namespace

BENCHMARK_MAIN();
