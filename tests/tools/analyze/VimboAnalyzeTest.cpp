#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/wait.h>
#include <unistd.h>

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
    fs::path dir;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vimbo-analyze-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        const std::vector<float> silence(2 * 2205);
        SF_INFO info{};
        info.samplerate = 22050;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open((dir / "clip.wav").c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        sf_writef_float(file, silence.data(), static_cast<sf_count_t>(silence.size() / 2));
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

TEST_F(VimboAnalyzeTest, BadFilesAndOptionsExitWithStatus2AndOneLine) {
    std::ofstream(dir / "text.wav") << "not a sound file\n";
    for (const std::string arguments : {"text.wav", "", "clip.wav --block 65537", "clip.wav --input speaker",
                                        "clip.wav --sensitivity", "clip.wav --bogus"}) {
        SCOPED_TRACE(arguments);
        const auto [status, lines] = run(arguments);
        EXPECT_EQ(status, 2);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("vimbo-analyze: ", 0), 0u);
    }
    EXPECT_EQ(run("--help").first, 0);
    // A tenth of a second at 22050 Hz is six ticks, whatever the block the file is read in.
    EXPECT_EQ(run("--block=7 clip.wav --input microphone").second.size(), 6u);
}
