// vimbo-analyze: the audio analysis of the running application, driven offline by a sound file.
#include "core/app/FeatureScript.h"
#include "core/audio/AudioAnalyzer.h"
#include "core/audio/MicrophoneSensitivityStore.h"
#include "tools/analyze/AnalyzeOptions.h"

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using vimbo::tools::AnalyzeOptions;

constexpr int kBadInput = 2;

int fail(const std::string& message) {
    std::fprintf(stderr, "vimbo-analyze: %s\n", message.c_str());
    return kBadInput;
}

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SndfileCloser>;

int analyzeFile(const AnalyzeOptions& options) {
    SF_INFO info{};
    SoundFile file(sf_open(options.file.c_str(), SFM_READ, &info));
    if (!file) return fail("cannot read " + options.file + ": " + sf_strerror(nullptr));
    if (info.samplerate <= 0 || info.channels <= 0 || info.frames < 0 ||
        info.frames > std::numeric_limits<std::int64_t>::max() / 60)
        return fail("cannot read " + options.file + ": unsupported stream description");

    const std::int64_t rate = info.samplerate;
    const std::int64_t frames = info.frames;
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> block(options.block * channels);

    vimbo::audio::AudioAnalyzer analyzer;
    analyzer.setCaptureActive(true);
    analyzer.setMicrophoneSensitivity(vimbo::audio::MicrophoneSensitivityStore::clamp(options.sensitivity));
    const vimbo::audio::AudioStreamDescription format{static_cast<double>(rate), 0,
                                                      static_cast<std::uint32_t>(channels)};

    std::int64_t ingested = 0;
    const std::int64_t lastTick = frames * 60 / rate;
    for (std::int64_t k = 1; k <= lastTick; ++k) {
        const std::int64_t due = k * rate / 60;
        while (ingested < due) {
            const auto want = static_cast<sf_count_t>(
                std::min<std::int64_t>(due - ingested, static_cast<std::int64_t>(options.block)));
            const sf_count_t got = sf_readf_float(file.get(), block.data(), want);
            if (got != want)
                return fail("cannot read " + options.file + ": it ends after " +
                            std::to_string(ingested + got) + " of " + std::to_string(frames) + " frames");
            const vimbo::audio::AudioBuffer buffer{
                static_cast<std::uint32_t>(channels),
                static_cast<std::uint32_t>(static_cast<std::size_t>(got) * channels * sizeof(float)),
                block.data()};
            analyzer.ingest({&buffer, 1}, format, options.input);
            ingested += got;
        }
        const std::string line = vimbo::app::featureScript(analyzer.analyze(static_cast<double>(k) / 60.0));
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "vimbo-analyze: cannot write the feature lines\n");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = vimbo::tools::parseAnalyzeOptions(
        std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    if (const auto* error = std::get_if<vimbo::tools::OptionError>(&parsed))
        return fail(error->message + " (see --help)");
    const auto& options = std::get<AnalyzeOptions>(parsed);
    if (options.help) {
        std::fputs(vimbo::tools::kAnalyzeUsage, stdout);
        return 0;
    }
    return analyzeFile(options);
}
