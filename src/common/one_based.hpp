#pragma once
// Lists numbered from 1, as the programs' tables, presets and formats are. A number or index out
// of range (a setting no screen offers) falls to the nearest end of the list, so it never reads
// past the list.

#include <array>
#include <cstddef>

namespace common {

// A 0-based index clamped into a list of `count` items (count >= 1).
constexpr int ClampIndex(int index, int count) {
    return index < 0 ? 0 : (index >= count ? count - 1 : index);
}

// The 0-based position of item `number` (1-based) in a list of `count` items.
constexpr int NumberPosition(int number, int count) {
    return ClampIndex(number - 1, count);
}

// An array indexed by 1-based item numbers.
template <typename T, int N>
struct OneBased {
    std::array<T, N> items{};

    static constexpr int size() { return N; }
    static constexpr int Position(int number) { return NumberPosition(number, N); }
    T& operator[](int number) { return items[static_cast<std::size_t>(Position(number))]; }
    const T& operator[](int number) const {
        return items[static_cast<std::size_t>(Position(number))];
    }
};

}  // namespace common
