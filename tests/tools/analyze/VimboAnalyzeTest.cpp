#include "core/app/FeatureScript.h"
#include "core/audio/AudioAnalyzer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

class VimboAnalyzeTest : public ::testing::Test {
  protected:
    static constexpr int kRate = 22050;
    fs::path dir;
    std::vector<float> noise = std::vector<float>(2 * 9187);

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vimbo-analyze-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        // Stereo noise, loud and quiet by turns every 1000 frames. 9187 frames at 22050 Hz make 24 whole
        // ticks, though every frame the 25th would ingest (below floor(25 * 22050 / 60) = 9187) is there.
        std::uint32_t seed = 99;
        for (std::size_t i = 0; i < noise.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            noise[i] =
                ((i / 2000) % 2 == 0 ? 0.2f : 0.01f) * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
        }
        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open((dir / "noise.wav").c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        sf_writef_float(file, noise.data(), static_cast<sf_count_t>(noise.size() / 2));
        sf_close(file);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Its exit status and the lines it wrote to stdout and stderr together; the arguments are plain words.
    std::pair<int, std::vector<std::string>> run(const std::string& arguments) {
        const std::string command =
            "cd " + quoted(dir) + " && " + quoted(VIMBO_ANALYZE_PATH) + " " + arguments + " >out 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream in(dir / "out");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, lines};
    }
};

} // namespace

TEST_F(VimboAnalyzeTest, FollowsTheTickProtocolWhateverTheBlockSize) {
    // A tick spans 367.5 frames; ingesting one frame at a time up to floor(k * rate / 60) must give
    // exactly the tool's lines.
    vimbo::audio::AudioAnalyzer analyzer;
    analyzer.setCaptureActive(true);
    std::vector<std::string> expected;
    for (std::int64_t k = 1, ingested = 0; k <= 24; ++k) {
        for (; ingested < k * kRate / 60; ++ingested) {
            const vimbo::audio::AudioBuffer buffer{2, 8, noise.data() + 2 * ingested};
            analyzer.ingest({&buffer, 1}, {kRate, 0, 2}, vimbo::audio::AudioInput::systemAudio);
        }
        expected.push_back(vimbo::app::featureScript(analyzer.analyze(static_cast<double>(k) / 60.0)));
    }
    EXPECT_EQ(run("noise.wav").second, expected);
    EXPECT_EQ(run("--block=7 noise.wav").second, expected);
    EXPECT_EQ(run("noise.wav --block 65536 --input systemAudio").second, expected);
}

TEST_F(VimboAnalyzeTest, BadFilesAndOptionsExitWithStatus2AndOneLine) {
    std::ofstream(dir / "text.wav") << "not a sound file\n";
    for (const std::string arguments :
         {"text.wav", "", "noise.wav --block 65537", "noise.wav --input speaker", "noise.wav --sensitivity",
          "noise.wav --bogus"}) {
        SCOPED_TRACE(arguments);
        const auto [status, lines] = run(arguments);
        EXPECT_EQ(status, 2);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("vimbo-analyze: ", 0), 0u);
    }
    EXPECT_EQ(run("--help").first, 0);
}
