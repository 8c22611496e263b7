// Both programs' whole runs on the host stand-in, to show how their cost
// grows: DrvSwitch over trees of 100 to 100,000 leaves, DrvRestore over the
// same trees with one log entry and over logs of 1 to 10,000 entries with
// one leaf. The restore scan reads two profile keys per entry and leaf, and
// the stand-in reads the whole file for each, so the log series grows with
// the square of the entries (10,000 entries take minutes on a Debug build).
#include <benchmark/benchmark.h>

#include <string>

#include "drivertools/restore/drv_restore_run.h"
#include "drivertools/switch/drv_switch_run.h"
#include "platform/host/control.h"

namespace {

const char displayClassKey[] = "HKLM\\System\\CurrentControlSet\\Services\\Class\\Display";
const char comment[] = "  ;Do not modify this value manually";

// A complete tree of fan-out 10 with `leaves` leaves (a power of 10); one
// leaf is the key 0 below the Display class key.
void buildTree(long leaves, const char* drv) {
  int digits = 0;
  for (long n = leaves; n > 1; n /= 10) ++digits;
  for (long i = 0; i < leaves; ++i) {
    std::string number = std::to_string(i);
    if (number.size() < static_cast<size_t>(digits))
      number.insert(0, static_cast<size_t>(digits) - number.size(), '0');
    std::string path = displayClassKey;
    for (char digit : number) path += std::string("\\") + digit;
    host::setRegistryString(path, "drv", drv);
  }
}

// A log of `entries` entries of which none installed the leaves' driver,
// so every leaf is scanned from the newest entry down to 1.
std::string logOf(long entries) {
  std::string text = "[OMBRIX]\r\nRestoreNum=" + std::to_string(entries) + comment + "\r\n";
  for (long n = 1; n <= entries; ++n) {
    text += "OriDrv" + std::to_string(n) + "=vga.drv\r\nOBXDrv" + std::to_string(n) +
            "=obxvga95.drv\r\n";
  }
  return text;
}

// The tail names the new driver, so each run rewrites every leaf with the
// same value and logs one entry; the log is put back between runs.
void BM_DrvSwitch(benchmark::State& state) {
  host::resetHost();
  buildTree(state.range(0), "ombrix.drv");
  for (auto _ : state) {
    runDrvSwitch("ombrix.drv");
    state.PauseTiming();
    if (host::openKeyCount() != 0) state.SkipWithError("keys left open");
    host::writeProfileFile("system.ini", "");
    host::clearJournal();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
  host::resetHost();
}

void restoreRuns(benchmark::State& state, long leaves, long entries) {
  host::resetHost();
  buildTree(leaves, "ombrix.drv");
  const std::string log = logOf(entries);
  for (auto _ : state) {
    state.PauseTiming();
    host::writeProfileFile("system.ini", log);
    host::scriptDialog(102, {{WM_COMMAND, IDOK, 0}});
    host::clearJournal();
    state.ResumeTiming();
    benchmark::DoNotOptimize(runDrvRestore(nullptr, "ombrix.drv"));
  }
  host::resetHost();
}

void BM_DrvRestoreOverLeaves(benchmark::State& state) {
  restoreRuns(state, state.range(0), 1);
  state.SetComplexityN(state.range(0));
}

void BM_DrvRestoreOverEntries(benchmark::State& state) {
  restoreRuns(state, 1, state.range(0));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_DrvSwitch)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_DrvRestoreOverLeaves)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_DrvRestoreOverEntries)
    ->RangeMultiplier(10)
    ->Range(1, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNSquared);

}  // namespace

BENCHMARK_MAIN();
