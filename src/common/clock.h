#pragma once
// The seam through which the program asks for "now". The system clock gives
// the local date and time; tests set a fixed one.

namespace kalvera {

class Clock {
  public:
    virtual ~Clock() = default;
    // Local date and time as a date-time value (see date_time.h).
    virtual double now() const = 0;
};

class SystemClock : public Clock {
  public:
    double now() const override;
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(double value = 0.0) : value_(value) {}
    double now() const override { return value_; }

  private:
    double value_;
};

// The process-wide system clock.
const Clock& systemClock();

}  // namespace kalvera
