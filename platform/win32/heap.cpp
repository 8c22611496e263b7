// operator new and delete over the process heap. With exceptions off, a
// failed allocation yields null; callers use the nothrow form and check.
#include <new>

#include "platform/win32.h"

namespace {

void* allocate(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size); }

void release(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

// The tag object of the nothrow forms; without a C++ library the runtime
// defines it, or every nothrow new fails to link.
namespace std {
const nothrow_t nothrow{};
}  // namespace std

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, size_t) noexcept { release(block); }
void operator delete[](void* block, size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
