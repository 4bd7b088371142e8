#include "core/audio/FluxHistory.h"

#include <algorithm>
#include <cmath>

namespace vimbo::audio {

void FluxHistory::append(float value) {
    if (count_ < kCapacity) {
        values_[(start_ + count_) % kCapacity] = value;
        ++count_;
    } else {
        values_[start_] = value;
        start_ = (start_ + 1) % kCapacity;
    }
}

// Two contiguous runs instead of an index wrapped for every value.
template <class Visit> void FluxHistory::forEach(Visit visit) const {
    const std::size_t firstRun = std::min(count_, kCapacity - start_);
    for (std::size_t i = start_; i < start_ + firstRun; ++i)
        visit(values_[i]);
    for (std::size_t i = 0; i < count_ - firstRun; ++i)
        visit(values_[i]);
}

float FluxHistory::mean() const {
    if (count_ == 0) return 0;
    float sum = 0;
    forEach([&sum](float value) { sum += value; });
    return sum / static_cast<float>(count_);
}

float FluxHistory::deviation(float mean) const {
    if (count_ == 0) return 0;
    float sum = 0;
    forEach([&sum, mean](float value) {
        const float d = value - mean;
        sum += d * d;
    });
    return std::sqrt(sum / static_cast<float>(count_));
}

void FluxHistory::clear() {
    start_ = 0;
    count_ = 0;
}

} // namespace vimbo::audio
