#include "core/app/FeatureScript.h"
#include "core/audio/AudioAnalyzer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status = -1;
    std::vector<std::string> out;
    std::vector<std::string> err;
};

std::vector<std::string> linesOf(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

class VimboAnalyzeTest : public ::testing::Test {
  protected:
    fs::path dir;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vimbo-analyze-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    // The arguments are plain words, unquoted.
    ToolRun run(const std::string& arguments) {
        const std::string command =
            "cd " + quoted(dir) + " && " + quoted(VIMBO_ANALYZE_PATH) + " " + arguments + " >out 2>err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, linesOf(dir / "out"), linesOf(dir / "err")};
    }

    void write(const std::string& name, int rate, int channels, const std::vector<float>& samples) {
        const std::string path = dir / name;
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr);
        sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
        sf_close(file);
    }

    void tone(const std::string& name, int rate, int channels, double hz, double seconds) {
        std::vector<float> samples(static_cast<std::size_t>(rate * seconds * channels));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(
                0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i / channels) / rate));
        write(name, rate, channels, samples);
    }
};

} // namespace

TEST_F(VimboAnalyzeTest, FollowsTheTickProtocolWhateverTheBlockSize) {
    // At 22050 Hz a tick spans 367.5 frames; ingesting one frame at a time up to floor(k * rate / 60)
    // must give exactly the tool's lines.
    const int rate = 22050;
    std::vector<float> samples(2 * 9000);
    std::uint32_t seed = 99;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        samples[i] =
            ((i / 2000) % 2 == 0 ? 0.2f : 0.01f) * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
    }
    write("noise.wav", rate, 2, samples);

    vimbo::audio::AudioAnalyzer analyzer;
    analyzer.setCaptureActive(true);
    std::vector<std::string> expected;
    for (std::int64_t k = 1, ingested = 0; k <= 9000 * 60 / rate; ++k) {
        for (; ingested < k * rate / 60; ++ingested) {
            const vimbo::audio::AudioBuffer buffer{2, 8, samples.data() + 2 * ingested};
            analyzer.ingest({&buffer, 1}, {rate, 0, 2}, vimbo::audio::AudioInput::systemAudio);
        }
        expected.push_back(vimbo::app::featureScript(analyzer.analyze(static_cast<double>(k) / 60.0)));
    }
    ASSERT_EQ(expected.size(), 24u);
    EXPECT_EQ(run("noise.wav").out, expected);
    EXPECT_EQ(run("--block=7 noise.wav").out, expected);
    EXPECT_EQ(run("noise.wav --block 65536 --input systemAudio").out, expected);

    // Only whole ticks are written: 735 frames at 44.1 kHz make one.
    for (const std::size_t frames : {735u, 734u}) {
        write("short.wav", 44100, 1, std::vector<float>(frames, 0.1f));
        const ToolRun result = run("short.wav");
        EXPECT_EQ(std::make_pair(result.status, result.out.size()), std::make_pair(0, frames / 735))
            << frames;
    }
}

TEST_F(VimboAnalyzeTest, MicrophoneSensitivityIsClampedLikeThePage) {
    tone("voice.wav", 48000, 1, 300.0, 0.5);
    const auto clamped = run("voice.wav --input microphone --sensitivity 20");
    EXPECT_EQ(clamped.out, run("voice.wav --input=microphone --sensitivity=8").out);
    EXPECT_NE(clamped.out, run("voice.wav").out);
}

TEST_F(VimboAnalyzeTest, BadFilesAndOptionsExitWithStatus2AndOneLine) {
    std::ofstream(dir / "text.wav") << "not a sound file\n";
    tone("good.wav", 48000, 1, 440.0, 0.1);
    for (const std::string arguments :
         {"text.wav", "missing.wav", "", "good.wav --block 65537", "good.wav --block 12x",
          "good.wav --input speaker", "good.wav --sensitivity", "good.wav --bogus"}) {
        SCOPED_TRACE(arguments);
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty());
        ASSERT_EQ(result.err.size(), 1u);
        EXPECT_EQ(result.err[0].rfind("vimbo-analyze: ", 0), 0u);
    }
    EXPECT_EQ(run("--help").status, 0);
}
