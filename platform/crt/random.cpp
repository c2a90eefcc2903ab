// The platform runtime's pseudo-random generator, which the program's sequences depend on. It takes
// the place of the C library's rand for the whole program (the link pulls this file in first).
// state = state * 214013 + 2531011 (mod 2^32); the result is bits 16-30. Each thread starts at 1.
#include <cstdint>

namespace {
thread_local uint32_t t_state = 1;
}

extern "C" int rand(void) {
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFF);
}

extern "C" void srand(unsigned seed) { t_state = seed; }
