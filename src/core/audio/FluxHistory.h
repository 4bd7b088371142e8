#pragma once

#include <array>
#include <cstddef>

namespace vimbo::audio {

// The last (at most) 90 normalised flux values, kept in a fixed ring so appending never allocates.
class FluxHistory {
  public:
    static constexpr std::size_t kCapacity = 90;

    // Appends a value; a full history drops its oldest value first.
    void append(float value);
    std::size_t count() const { return count_; }
    // The i-th value, oldest first.
    float at(std::size_t i) const { return values_[(start_ + i) % kCapacity]; }
    // Mean and population deviation, summed oldest first; both 0 for an empty history.
    float mean() const;
    float deviation(float mean) const;
    void clear();

  private:
    template <class Visit> void forEach(Visit visit) const;

    std::array<float, kCapacity> values_{};
    std::size_t start_ = 0;
    std::size_t count_ = 0;
};

} // namespace vimbo::audio
