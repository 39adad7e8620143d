// When a long job serves the window's messages. Asking the window system for messages is a
// round trip (tens of microseconds under Wine, a kernel transition on Windows), many times
// the cost of coding a line, so a job pumps by time rather than by line: once at least
// PUMP_INTERVAL_MS have passed since the last pump, which is still quicker than a person
// can tell. Even the tick counter is read only every CALLS_PER_CLOCK_LOOK units of work, so
// that a unit costs a decrement.
#pragma once
#include <cstdint>

enum { PUMP_INTERVAL_MS = 15, CALLS_PER_CLOCK_LOOK = 16 };
// A step of the progress bar, which repaints it, is shown by a pump at most this often.
enum { PROGRESS_INTERVAL_MS = 100 };

class PumpTimer {
 public:
  // One unit of work is done: true when a pump is due. `clock` returns the millisecond tick
  // count (it may wrap around) and is called at most once.
  template <typename Clock>
  bool Due(Clock clock) {
    if (--callsUntilLook_ > 0) return false;
    callsUntilLook_ = CALLS_PER_CLOCK_LOOK;
    return static_cast<uint32_t>(clock() - lastPump_) >= PUMP_INTERVAL_MS;
  }

  // A pump was made at tick `now` (a due one or one at a part or file boundary).
  void Pumped(uint32_t now) {
    lastPump_ = now;
    callsUntilLook_ = CALLS_PER_CLOCK_LOOK;
  }

 private:
  uint32_t lastPump_ = 0;
  int callsUntilLook_ = 1;  // the first unit looks at the clock
};
