#include <cairo.h>
#include <glib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Runs the built vimbo-icon in a directory of the test's own.
class VimboIconTest : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove_all(directory); }

    // Its exit status; keeps its error output.
    int run(const std::string& arguments) {
        std::string command = std::string(VIMBO_ICON_PATH) + " --out " + directory + " " + arguments;
        char* err = nullptr;
        int status = 0;
        if (!g_spawn_command_line_sync(command.c_str(), nullptr, &err, &status, nullptr)) return -1;
        errors = err ? err : "";
        g_free(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Width of the picture and the sum of its alpha, or -1 when it cannot be read.
    std::pair<int, double> picture(const std::string& name) const {
        cairo_surface_t* surface = cairo_image_surface_create_from_png((directory + "/" + name).c_str());
        std::pair<int, double> result{-1, 0};
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
            result.first = cairo_image_surface_get_width(surface);
            int stride = cairo_image_surface_get_stride(surface);
            const unsigned char* data = cairo_image_surface_get_data(surface);
            for (int y = 0; y < cairo_image_surface_get_height(surface); ++y)
                for (int x = 0; x < result.first; ++x)
                    result.second += data[y * stride + x * 4 + 3] / 255.0; // little-endian ARGB32
        }
        cairo_surface_destroy(surface);
        return result;
    }
    std::string writeFeatures(const std::string& text) {
        std::ofstream(directory + "/features.txt") << text;
        return directory + "/features.txt";
    }

    std::string directory = [] {
        char* made = g_dir_make_tmp("vimbo-icon-XXXXXX", nullptr);
        std::string path = made ? made : "/nonexistent";
        g_free(made);
        return path;
    }();
    std::string errors;
};

TEST_F(VimboIconTest, BuiltInStreamGivesThreeSkinsAndASheet) {
    ASSERT_EQ(run("--sheet " + directory + "/sheet.png"), 0) << errors;
    for (const char* name : {"slime.png", "dust.png", "dandelion.png"}) {
        EXPECT_EQ(picture(name).first, 36) << name;
        EXPECT_GT(picture(name).second, 20) << name;
    }
    EXPECT_EQ(picture("sheet.png").first, 3 * (36 + 28));
}

TEST_F(VimboIconTest, AnalyzerLinesDriveTheIconAtTheGivenScale) {
    std::string lines;
    for (int k = 0; k < 90; ++k)
        lines += k % 30 == 0 ? "__a(0.800,0.900,0.400,0.300,0.700,1.00,[0.100,0.200])\n"
                             : "__a(0.500,0.400,0.300,0.200,0.400,0.00,[])\n";
    ASSERT_EQ(run("--scale 1 --at 1.0 " + writeFeatures(lines + "\n")), 0) << errors;
    EXPECT_EQ(picture("slime.png").first, 18);
    // The blob, of radius about 7.6 points at alpha 0.9, covers most of the icon.
    EXPECT_NEAR(picture("slime.png").second, 3.14159 * 7.6 * 7.6 * 0.9, 40);
}

TEST_F(VimboIconTest, BadInputIsRefusedWithTheLine) {
    EXPECT_EQ(run(writeFeatures("0.1,0.2,0.3,0.4,0.5,0.6\nnot a feature line\n")), 2);
    EXPECT_NE(errors.find("line 2"), std::string::npos) << errors;
    EXPECT_EQ(run("--scale 0"), 2);
    EXPECT_EQ(run(directory + "/missing.txt"), 2);
    EXPECT_EQ(picture("slime.png").first, -1);
}

} // namespace
