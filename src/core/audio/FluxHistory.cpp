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

float FluxHistory::mean() const {
    if (count_ == 0) return 0;
    float sum = 0;
    for (std::size_t i = 0; i < count_; ++i)
        sum += at(i);
    return sum / static_cast<float>(count_);
}

float FluxHistory::deviation(float mean) const {
    if (count_ == 0) return 0;
    float sum = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        const float d = at(i) - mean;
        sum += d * d;
    }
    return std::sqrt(sum / static_cast<float>(count_));
}

void FluxHistory::clear() {
    start_ = 0;
    count_ = 0;
}

} // namespace vimbo::audio
