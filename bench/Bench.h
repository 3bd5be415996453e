// A tiny benchmark harness: runs a callable in timed batches and reports the
// median time per call, one line per figure: "name: median X ns". A figure
// whose name begins with "baseline" is the reference that tools/bench sets
// beside the figures after it.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <utility>
#include <vector>

namespace bench {

// The value that `fraction` of the values lie below: 0.5 the median.
template <typename T>
T Quantile(std::vector<T> values, double fraction) {
  const auto at = values.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(values.size()));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

template <typename T>
T Median(std::vector<T> values) {
  return Quantile(std::move(values), 0.5);
}

// Keeps a result alive so that the optimiser cannot drop the work.
template <typename T>
void Keep(const T& value) {
  asm volatile("" : : "r"(&value) : "memory");
}

// Median nanoseconds per call over `batches` batches, each sized to take about
// `batchTime` (at least one call).
template <typename F>
double MedianNs(F&& f, int batches = 21,
                std::chrono::nanoseconds batchTime = std::chrono::milliseconds(20)) {
  using Clock = std::chrono::steady_clock;
  f();  // warm-up
  long perBatch = 1;
  for (;;) {  // calibrate: double until one batch takes a tenth of the aim
    const auto start = Clock::now();
    for (long i = 0; i < perBatch; ++i) f();
    const auto took = Clock::now() - start;
    if (took * 10 >= batchTime || perBatch >= (1L << 26)) {
      const double perCall = std::chrono::duration<double, std::nano>(took).count() / perBatch;
      perBatch = std::max(1L, static_cast<long>(batchTime.count() / std::max(perCall, 1.0)));
      break;
    }
    perBatch *= 2;
  }
  std::vector<double> samples;
  for (int b = 0; b < batches; ++b) {
    const auto start = Clock::now();
    for (long i = 0; i < perBatch; ++i) f();
    samples.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                      perBatch);
  }
  return Median(std::move(samples));
}

inline void Report(const char* name, double ns) {
  std::printf("%s: median %.1f ns\n", name, ns);
  std::fflush(stdout);
}

template <typename F>
void Run(const char* name, F&& f) {
  Report(name, MedianNs(f));
}

}  // namespace bench
