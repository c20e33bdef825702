#pragma once
// Powers of ten that fit an unsigned 64-bit integer, shared by the texts.
#include <cstdint>

namespace brindelor::detail {

inline constexpr std::uint64_t kPow10[] = {
    1ull,
    10ull,
    100ull,
    1000ull,
    10000ull,
    100000ull,
    1000000ull,
    10000000ull,
    100000000ull,
    1000000000ull,
    10000000000ull,
    100000000000ull,
    1000000000000ull,
    10000000000000ull,
    100000000000000ull,
    1000000000000000ull,
    10000000000000000ull,
    100000000000000000ull,
    1000000000000000000ull,
    10000000000000000000ull,
};

} // namespace brindelor::detail
