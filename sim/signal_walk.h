#pragma once
// A signal level that wanders, for the monitor's demonstrations and tests:
// a random walk between 5 and 31, a step of at most 2 per reading, and now
// and then a reading the module cannot tell (99). The same seed gives the
// same levels.

#include <QtGlobal>
#include <random>

namespace zarven::sim {

class SignalWalk {
public:
    static constexpr int kLowest = 5;
    static constexpr int kHighest = 31;
    static constexpr int kStart = 17;
    // About one reading in this many is 99.
    static constexpr int kNoServiceOneIn = 15;

    explicit SignalWalk(quint32 seed) : random_(seed) {}

    // The level of the next reading.
    int next();

private:
    std::mt19937 random_;
    int level_ = kStart;
};

} // namespace zarven::sim
