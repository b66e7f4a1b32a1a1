#pragma once

#include "game/Clock.h"

namespace pipfield::test {

/// A clock that stands still until a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Instant start) : m_now(start) {}
    Instant now() const override { return m_now; }
    void set(Instant t) { m_now = t; }
    void advance(double seconds) { m_now = addSeconds(m_now, seconds); }

private:
    Instant m_now;
};

} // namespace pipfield::test
