#pragma once
// The seam through which the program asks for "now". Terms and day files are
// GMT, so "now" is the GMT date and time: every age, every "today" and every
// comparison with the clock is made in GMT. Only how a date is written
// follows the user's locale. Tests set a fixed clock.

namespace kalvera {

class Clock {
  public:
    virtual ~Clock() = default;
    // GMT date and time as a date-time value (see date_time.h).
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
