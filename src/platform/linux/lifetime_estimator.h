#pragma once

#include <cstdint>
#include <deque>
#include <optional>

namespace amperlog {

struct StoredEnergy {
    double now = 0;  // µWh
    double full = 0; // µWh
};

// The remaining and full lifetimes on battery from the stored energy and the draw averaged
// over the last two minutes. They move in whole minutes and turn back only on a lasting
// change, so that they do not change at every query.
class LifetimeEstimator {
public:
    // Span of the draw average.
    static constexpr std::int64_t kSmoothingWindowMs = 120'000;
    // Below this draw (µW) the lifetime is not estimated: Windows reports it unknown as well.
    static constexpr double kMinDrawMicrowatts = 100'000;
    // Bounds the average's memory when queries come much faster than once a second.
    static constexpr std::size_t kMaxDrawSamples = 600;

    struct Lifetimes {
        std::int32_t remaining; // seconds
        std::int32_t full;      // seconds
    };

    // One reading on battery at nowMs (a monotonic millisecond time): the draw in µW and the
    // stored energy, each where known. nullopt while the average or the energy is unknown.
    std::optional<Lifetimes> Update(std::int64_t nowMs, std::optional<double> drawMicrowatts,
                                    std::optional<StoredEnergy> energy);
    // Forgets the draws and the shown minutes, as when the adapter comes or goes.
    void Reset();

private:
    // A lifetime in whole minutes as reported. It follows the estimate freely in the direction
    // it last moved, but turns back only once the estimate lies a minute or 2 % (whichever is
    // more) the other way: a draw that wobbles around a steady value would otherwise flip the
    // minutes, and with them the log, back and forth.
    class ShownMinutes {
    public:
        // Returns seconds.
        std::int32_t Update(double minutes);
        void Reset();

    private:
        std::optional<std::int64_t> m_minutes;
        int m_direction = 0;
    };

    struct DrawSample {
        std::int64_t ms;
        double microwatts;
    };

    std::deque<DrawSample> m_draws;
    ShownMinutes m_shownLife;
    ShownMinutes m_shownFull;
};

} // namespace amperlog
