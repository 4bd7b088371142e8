#pragma once

#include <complex>
#include <cstddef>
#include <mutex>
#include <span>

// FFTW's plan type, kept opaque so that users of this header need not see FFTW.
struct fftwf_plan_s;

namespace vimbo::audio {

// Forward real FFT of one analysed frame (FFTW, single precision), planned once on aligned buffers
// owned by this object.
class RealFft {
  public:
    static constexpr std::size_t kLength = 2048;
    static constexpr std::size_t kBins = kLength / 2;

    RealFft();
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    // The frame to transform; written by the caller before `execute`.
    std::span<float, kLength> input() { return std::span<float, kLength>(input_, kLength); }
    // X[k] = sum of x[n] * e^(-2 pi i k n / 2048) for k = 0...1024, unscaled.
    void execute();
    std::span<const std::complex<float>, kBins + 1> output() const;
    // squared[k] = |2 X[k]|^2 and magnitude[k] its square root, for k = 1...1023 (the magnitudes the
    // analysis is defined on); entry 0 packs twice the DC term and twice the Nyquist term as one complex
    // value.
    void magnitudes(std::span<float, kBins> squared, std::span<float, kBins> magnitude) const;

    // FFTW's planner is not thread-safe: every plan made or destroyed in this process takes this mutex.
    static std::mutex& plannerMutex();

  private:
    float* input_ = nullptr;
    std::complex<float>* output_ = nullptr; // FFTW's complex array, laid out as std::complex
    fftwf_plan_s* plan_ = nullptr;
};

} // namespace vimbo::audio
