// The Display class walk over trees of 100 to 100,000 leaves on the host
// stand-in: its cost should grow linearly with the number of keys.
#include <benchmark/benchmark.h>

#include <string>

#include "drivertools/shared/display_key_walk.h"
#include "platform/host/control.h"

namespace {

const char displayClassKey[] = "HKLM\\System\\CurrentControlSet\\Services\\Class\\Display";

int leavesSeen = 0;

void countLeaf(HKEY, const DriverName& drvValue) {
  if (sameDriverName(drvValue.text, "vga.drv")) ++leavesSeen;
}

// A complete tree of fan-out 10 with `leaves` leaves (a power of 10): leaf i
// sits at the path of its decimal digits, so no key has more than ten
// subkeys and the stand-in's lookups stay cheap.
void buildTree(long leaves) {
  int digits = 0;
  for (long n = leaves; n > 1; n /= 10) ++digits;
  for (long i = 0; i < leaves; ++i) {
    std::string number = std::to_string(i);
    number.insert(0, static_cast<size_t>(digits) - number.size(), '0');
    std::string path = displayClassKey;
    for (char digit : number) path += std::string("\\") + digit;
    host::setRegistryString(path, "drv", "vga.drv");
  }
}

void BM_WalkDisplayClass(benchmark::State& state) {
  host::resetHost();
  buildTree(state.range(0));
  for (auto _ : state) {
    leavesSeen = 0;
    walkDisplayClass(countLeaf, EnumStop::NoMoreItems);
    benchmark::DoNotOptimize(leavesSeen);
    state.PauseTiming();
    if (leavesSeen != state.range(0)) state.SkipWithError("a leaf was missed");
    host::clearJournal();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
  host::resetHost();
}

BENCHMARK(BM_WalkDisplayClass)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
