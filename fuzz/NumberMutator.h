#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace pipfield::fuzz {

/// Three mutations in four put a number from the edges of what a save may hold (the 64-bit limits,
/// 2^53, the ends of the double range, instants centuries away) in place of a number of the input.
/// Byte-level mutations alone rarely turn a 20 into nine quintillion without breaking the JSON
/// around it, and it is there that wrapping sums and overflowing conversions live.
inline std::size_t mutateNumbers(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed) {
    std::minstd_rand rng(seed);
    if (rng() % 4 == 0) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    auto isNumberChar = [](std::uint8_t c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
    };
    auto isWordChar = [](std::uint8_t c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    std::vector<std::pair<std::size_t, std::size_t>> numbers;
    for (std::size_t i = 0; i < size;) {
        const bool starts =
            (data[i] == '-' || (data[i] >= '0' && data[i] <= '9')) && (i == 0 || !isWordChar(data[i - 1]));
        if (!starts) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < size && isNumberChar(data[end])) {
            ++end;
        }
        numbers.emplace_back(i, end);
        i = end;
    }
    if (numbers.empty()) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    // The 64-bit limits come up most: they are where sums and differences wrap.
    static const char* const edges[] = {
        "9223372036854775807",
        "-9223372036854775808",
        "9223372036854775807",
        "-9223372036854775808",
        "9223372036854775807",
        "-9223372036854775808",
        "9223372036854775806",
        "-9223372036854775807",
        "4611686018427387904",
        "-4611686018427387904",
        "9223372036854775808",
        "-9223372036854775809",
        "0",
        "-1",
        "1",
        "9007199254740991",
        "9007199254740991.0",
        "9007199254740993.0",
        "-9007199254740993.0",
        "1e19",
        "1e308",
        "-1e308",
        "1.7976931348623157e308",
        "5e-324",
        "-9e9",
        "9e9",
        "1e11",
        "-1e11",
        "1e400",
        "0.5",
        "-0.0",
        "1e15",
        "100000000000000000",
    };
    std::string replacement;
    if (rng() % 8 == 0) {
        replacement = std::to_string(static_cast<std::int64_t>((std::uint64_t{rng()} << 32) ^ rng()));
    } else {
        replacement = edges[rng() % std::size(edges)];
    }
    const auto [begin, end] = numbers[rng() % numbers.size()];
    const std::size_t newSize = size - (end - begin) + replacement.size();
    if (newSize > maxSize) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    std::memmove(data + begin + replacement.size(), data + end, size - end);
    std::copy(replacement.begin(), replacement.end(), data + begin);
    return newSize;
}

} // namespace pipfield::fuzz
