// operator new and delete of the runtime: blocks of the process heap,
// constructors and destructors run for single objects and arrays, null from
// the nothrow form when the size cannot be had; and the memory functions
// the compiler may call.
#include <string.h>

#include <new>

#include "platform/win32.h"
#include "tests/wine/probe_checks.h"
#include "tests/wine/probe_report.h"

namespace {

// More than a 32-bit process can ever get from its heap.
const size_t impossibleSize = 0xFFFFFFF0u;
const size_t impossibleArrayLength = 0x7FFFFFF0u;
const int arrayLength = 3;
const size_t blockSize = 100;
const int witnessValue = 0x5A5A;

int liveCounted = 0;

class Counted {
 public:
  Counted() : value(witnessValue) { ++liveCounted; }
  ~Counted() { --liveCounted; }
  int value;
};

bool isProcessHeapBlock(const void* block, size_t size) {
  const SIZE_T heapSize = HeapSize(GetProcessHeap(), 0, block);
  return heapSize != static_cast<SIZE_T>(-1) && heapSize >= size;
}

void checkSingleObjects() {
  Counted* object = new Counted;
  reportCheck(object != nullptr && liveCounted == 1 && object->value == witnessValue,
              "new: constructs the object");
  reportCheck(isProcessHeapBlock(object, sizeof(Counted)), "new: a block of the process heap");
  delete object;
  reportCheck(liveCounted == 0, "delete: runs the destructor");

  void* first = operator new(0);
  void* second = operator new(0);
  reportCheck(first != nullptr && second != nullptr && first != second,
              "new of size 0: distinct blocks");
  operator delete(first);
  operator delete(second);
}

void checkArrays() {
  Counted* objects = new Counted[arrayLength];
  bool allConstructed = objects != nullptr && liveCounted == arrayLength;
  for (int i = 0; allConstructed && i < arrayLength; ++i) {
    allConstructed = objects[i].value == witnessValue;
  }
  reportCheck(allConstructed, "new[]: constructs every element");
  delete[] objects;
  reportCheck(liveCounted == 0, "delete[]: runs every destructor");

  char* block = new char[blockSize];
  reportCheck(block != nullptr && isProcessHeapBlock(block, blockSize),
              "new[]: a block of the process heap");
  delete[] block;
}

void checkNothrow() {
  // volatile: the compiler must not know the sizes.
  volatile size_t size = impossibleSize;
  void* none = operator new(size, std::nothrow);
  reportCheck(none == nullptr, "nothrow new of an impossible size gives null");
  volatile size_t length = impossibleArrayLength;
  char* noneArray = new (std::nothrow) char[length];
  reportCheck(noneArray == nullptr, "nothrow new[] of an impossible size gives null");
  operator delete(none);
  delete[] noneArray;

  Counted* object = new (std::nothrow) Counted;
  reportCheck(object != nullptr && liveCounted == 1, "nothrow new of a small object constructs it");
  delete object;
}

void checkMemoryFunctions() {
  char buffer[16];
  volatile size_t count = 8;  // keeps the calls from being expanded inline
  memset(buffer, 'x', sizeof buffer);
  memset(buffer, 'a', count);
  reportCheck(buffer[0] == 'a' && buffer[7] == 'a' && buffer[8] == 'x', "memset: count bytes");

  memcpy(buffer, "01234567", count);
  reportCheck(memcmp(buffer, "01234567x", count + 1) == 0, "memcpy and memcmp: equal bytes");
  reportCheck(memcmp("ab", "ac", count - 6) < 0 && memcmp("\xff", "a", count - 7) > 0,
              "memcmp: compares unsigned bytes");

  memmove(buffer + 2, buffer, count);  // overlap, destination above
  reportCheck(memcmp(buffer, "0101234567", count + 2) == 0, "memmove: overlap upwards");
  memmove(buffer, buffer + 2, count);  // overlap, destination below
  reportCheck(memcmp(buffer, "0123456767", count + 2) == 0, "memmove: overlap downwards");
}

}  // namespace

void checkHeapAndMemory() {
  checkSingleObjects();
  checkArrays();
  checkNothrow();
  checkMemoryFunctions();
}
