#pragma once

#include "model/Catalog.h"
#include "model/Saturating.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>

namespace pipfield {

/// A map keyed by one of the game's enumerations, stored inline. Unlike an array of values it keeps
/// the difference between an absent key and a key holding zero, as the save file does.
template <typename Enum, typename Value>
class EnumMap {
public:
    static constexpr std::size_t N = enumCount<Enum>;

    bool contains(Enum key) const { return m_present[index(key)]; }
    std::optional<Value> find(Enum key) const {
        return contains(key) ? std::optional<Value>(m_values[index(key)]) : std::nullopt;
    }
    Value valueOr(Enum key, Value fallback) const { return contains(key) ? m_values[index(key)] : fallback; }
    void set(Enum key, Value value) {
        m_values[index(key)] = value;
        m_present[index(key)] = true;
    }
    /// Adds to a count, an absent one counting as 0, saturating at the 64-bit limits.
    void add(Enum key, std::int64_t delta) {
        m_values[index(key)] = saturatingAdd(m_values[index(key)], delta);
        m_present[index(key)] = true;
    }
    bool empty() const { return m_present.none(); }
    std::size_t size() const { return m_present.count(); }
    /// Every slot in declaration order; absent keys hold Value{}.
    const std::array<Value, N>& values() const { return m_values; }

    /// Calls f(key, value) for every present entry, in declaration order of the enumeration.
    template <typename F>
    void forEach(F&& f) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (m_present[i]) {
                f(static_cast<Enum>(i), m_values[i]);
            }
        }
    }

    // Absent entries always hold Value{}, so comparing the arrays compares contents.
    bool operator==(const EnumMap&) const = default;

private:
    static std::size_t index(Enum key) { return static_cast<std::size_t>(key); }

    std::array<Value, N> m_values{};
    std::bitset<N> m_present;
};

/// A set of enumeration values, stored as bits.
template <typename Enum>
class EnumSet {
public:
    static constexpr std::size_t N = enumCount<Enum>;

    EnumSet() = default;
    EnumSet(std::initializer_list<Enum> members) {
        for (Enum m : members) {
            insert(m);
        }
    }

    bool contains(Enum member) const { return m_bits[static_cast<std::size_t>(member)]; }
    void insert(Enum member) { m_bits[static_cast<std::size_t>(member)] = true; }
    bool empty() const { return m_bits.none(); }
    std::size_t size() const { return m_bits.count(); }

    template <typename F>
    void forEach(F&& f) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (m_bits[i]) {
                f(static_cast<Enum>(i));
            }
        }
    }

    bool operator==(const EnumSet&) const = default;

private:
    std::bitset<N> m_bits;
};

} // namespace pipfield
