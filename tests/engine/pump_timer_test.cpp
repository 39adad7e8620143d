// The time-based pump decision, with a clock the test moves by hand.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/pump_timer.h"

namespace {

struct FakeClock {
  uint32_t now = 0;
  int reads = 0;
  uint32_t operator()() {
    ++reads;
    return now;
  }
};

// Calls Due once per unit of work until it says yes; the number of units, or -1 after `limit`.
int UnitsUntilDue(PumpTimer& timer, FakeClock& clock, int limit) {
  for (int unit = 1; unit <= limit; ++unit)
    if (timer.Due([&clock] { return clock(); })) return unit;
  return -1;
}

TEST(PumpTimer, PumpsOnlyOnceTheIntervalHasPassedAndReadsTheClockSeldom) {
  FakeClock clock;
  clock.now = 1000;
  PumpTimer timer;
  timer.Pumped(clock.now);
  clock.now += PUMP_INTERVAL_MS - 1;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 10 * CALLS_PER_CLOCK_LOOK), -1);
  EXPECT_EQ(clock.reads, 10);  // one look per CALLS_PER_CLOCK_LOOK units, never per unit
  clock.now += 1;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 10 * CALLS_PER_CLOCK_LOOK), CALLS_PER_CLOCK_LOOK);
}

TEST(PumpTimer, ABoundaryPumpStartsTheIntervalAgainAndTheTickCountMayWrap) {
  FakeClock clock;
  clock.now = 0xFFFFFFF8u;
  PumpTimer timer;
  timer.Pumped(clock.now);
  clock.now += PUMP_INTERVAL_MS;  // wraps past zero
  ASSERT_LT(clock.now, 0xFFFFFFF8u);
  EXPECT_EQ(UnitsUntilDue(timer, clock, CALLS_PER_CLOCK_LOOK), CALLS_PER_CLOCK_LOOK);
  timer.Pumped(clock.now);  // the caller pumped
  clock.now += PUMP_INTERVAL_MS / 2;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 4 * CALLS_PER_CLOCK_LOOK), -1);
  timer.Pumped(clock.now);  // a part boundary pumped at once
  clock.now += PUMP_INTERVAL_MS - 1;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 4 * CALLS_PER_CLOCK_LOOK), -1);
  clock.now += 1;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 4 * CALLS_PER_CLOCK_LOOK), CALLS_PER_CLOCK_LOOK);
}

TEST(PumpTimer, TheFirstUnitOfAFreshTimerLooksAtTheClock) {
  FakeClock clock;
  clock.now = 5000;
  PumpTimer timer;
  EXPECT_EQ(UnitsUntilDue(timer, clock, 1), 1);
  EXPECT_EQ(clock.reads, 1);
}

}  // namespace
