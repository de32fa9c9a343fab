#pragma once
// Keeps a repeated piece of work (a repaint while a long task runs) to a share of the time: after a run that
// took c seconds, the next is due only c * (1 - share) / share seconds after it ended. Work that costs far
// less than the caller's own interval is never held back.
namespace kit {

class CostShare {
public:
    // `share` in (0, 1]: 0.1 lets the work take at most a tenth of the time.
    explicit CostShare(double share) : idlePerBusy_((1.0 - share) / share) {}

    // Times in seconds on one clock (kit/Clock.h).
    bool Due(double now) const { return now >= next_; }
    void Ran(double start, double end) { next_ = end + (end - start) * idlePerBusy_; }

private:
    double idlePerBusy_;
    double next_ = 0;
};

} // namespace kit
