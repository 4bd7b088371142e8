#include "core/audio/RealFft.h"

#include <fftw3.h>

#include <cmath>
#include <new>
#include <stdexcept>

namespace vimbo::audio {

namespace {

// fftwf_complex is laid out as std::complex<float>, which FFTW documents as interchangeable.
fftwf_complex* asFftw(std::complex<float>* values) {
    return reinterpret_cast<fftwf_complex*>(values);
}

} // namespace

RealFft::RealFft() {
    input_ = fftwf_alloc_real(kLength);
    output_ = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(kBins + 1));
    if (input_ == nullptr || output_ == nullptr) {
        fftwf_free(input_);
        fftwf_free(output_);
        throw std::bad_alloc();
    }
    {
        // FFTW_ESTIMATE always picks the same algorithm, so results are reproducible run to run.
        std::lock_guard guard(plannerMutex());
        plan_ = fftwf_plan_dft_r2c_1d(static_cast<int>(kLength), input_, asFftw(output_), FFTW_ESTIMATE);
    }
    if (plan_ == nullptr) {
        fftwf_free(input_);
        fftwf_free(output_);
        throw std::runtime_error("cannot create the FFT plan");
    }
    for (std::size_t i = 0; i < kLength; ++i)
        input_[i] = 0;
}

RealFft::~RealFft() {
    {
        std::lock_guard guard(plannerMutex());
        fftwf_destroy_plan(plan_);
    }
    fftwf_free(input_);
    fftwf_free(output_);
}

void RealFft::execute() {
    fftwf_execute(plan_);
}

std::span<const std::complex<float>, RealFft::kBins + 1> RealFft::output() const {
    return std::span<const std::complex<float>, kBins + 1>(output_, kBins + 1);
}

void RealFft::magnitudes(std::span<float, kBins> squared, std::span<float, kBins> magnitude) const {
    const float dcRe = 2.0f * output_[0].real();
    const float nyquistRe = 2.0f * output_[kBins].real();
    squared[0] = dcRe * dcRe + nyquistRe * nyquistRe;
    magnitude[0] = std::sqrt(squared[0]);
    for (std::size_t k = 1; k < kBins; ++k) {
        const float re = 2.0f * output_[k].real();
        const float im = 2.0f * output_[k].imag();
        squared[k] = re * re + im * im;
        magnitude[k] = std::sqrt(squared[k]);
    }
}

std::mutex& RealFft::plannerMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace vimbo::audio
