// The program's one source of chance: a 32-bit linear congruential generator, state 1 at
// start-up. Each draw is bits 16 to 30 of the next state, 0..32767. Its owner carries it from
// one composition to the next.
#pragma once

#include <cstdint>

struct random_generator {
    std::uint32_t state = 1;

    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    void seed(std::uint32_t seed) { state = seed; }
};

// x % d for x and d below 2^16, by a multiplication with the reciprocal instead of a division:
// the composer takes a remainder for every attempt of every letter.
constexpr std::uint32_t reciprocal_of(int d) {
    return 0xFFFFFFFFu / static_cast<std::uint32_t>(d) + 1;
}
inline int remainder_by(int x, int d, std::uint32_t reciprocal) {
    std::uint32_t fraction = reciprocal * static_cast<std::uint32_t>(x);
    return static_cast<int>(
        (static_cast<std::uint64_t>(fraction) * static_cast<std::uint32_t>(d)) >> 32);
}
