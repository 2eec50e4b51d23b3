#include "signal_walk.h"

#include <algorithm>

namespace zarven::sim {

int SignalWalk::next()
{
    if (std::uniform_int_distribution<int>(1, kNoServiceOneIn)(random_) == 1)
        return 99;
    level_ = std::clamp(level_ + std::uniform_int_distribution<int>(-2, 2)(random_), kLowest, kHighest);
    return level_;
}

} // namespace zarven::sim
