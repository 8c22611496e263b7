#include "platform/win32/static_objects.h"

#include "platform/win32.h"

typedef void (*StaticFunction)();

// GNU ld's layout: a -1, the entries, a terminating 0.
extern "C" StaticFunction __CTOR_LIST__[];

namespace {

// No heap in start-up: a fixed table is plenty for the product's handful of
// static objects.
const int maxExitFunctions = 32;
StaticFunction exitFunctions[maxExitFunctions];
int exitFunctionCount = 0;

}  // namespace

extern "C" int atexit(StaticFunction function) {
  if (exitFunctionCount == maxExitFunctions) return -1;
  exitFunctions[exitFunctionCount++] = function;
  return 0;
}

// A pure virtual call is a programming error; end the process quietly
// rather than jump through a null slot.
extern "C" void __cxa_pure_virtual() { ExitProcess(255); }

void runStaticConstructors() {
  int count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  // Last to first, as GCC expects for the order of definition.
  for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

void runStaticDestructors() {
  // Reverse order of registration, each once.
  while (exitFunctionCount > 0) {
    StaticFunction function = exitFunctions[--exitFunctionCount];
    function();
  }
}
