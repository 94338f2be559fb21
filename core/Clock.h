#pragma once

// Waits that keep the window painting. Tests use an instant clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void wait(int milliseconds) = 0;
};
