// What the memory pools tell AddressSanitizer, and what code that must read
// memory the sanitizer watches (the pools' own block headers) is marked with.
// Without the sanitizer every piece here compiles to nothing.
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define QEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(QEL_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
// A function that reads or writes poisoned bytes on purpose (a pool's
// headers and free blocks) without being reported.
#define QEL_NO_SANITIZE_ADDRESS __attribute__((no_sanitize_address))
#else
#define QEL_NO_SANITIZE_ADDRESS
#endif

namespace qel {

#if defined(QEL_ADDRESS_SANITIZER)
inline constexpr bool kAddressSanitizer = true;
// Bytes the program must not touch: reading or writing them is reported.
inline void poisonBytes(const void* p, std::size_t size) {
    ASAN_POISON_MEMORY_REGION(p, size);
}
inline void unpoisonBytes(const void* p, std::size_t size) {
    ASAN_UNPOISON_MEMORY_REGION(p, size);
}
inline bool isPoisoned(const void* p) {
    return __asan_address_is_poisoned(p) != 0;
}
#else
inline constexpr bool kAddressSanitizer = false;
inline void poisonBytes(const void*, std::size_t) {}
inline void unpoisonBytes(const void*, std::size_t) {}
inline bool isPoisoned(const void*) {
    return false;
}
#endif

}  // namespace qel
