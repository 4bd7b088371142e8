#include <cairo.h>
#include <glib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Width of a PNG the tool wrote, or -1 when it cannot be read.
int pictureWidth(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const int width =
        cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS ? cairo_image_surface_get_width(surface) : -1;
    cairo_surface_destroy(surface);
    return width;
}

TEST(VimboIconTest, BuiltInStreamGivesThreeSkinsAndASheet) {
    char* made = g_dir_make_tmp("vimbo-icon-XXXXXX", nullptr);
    ASSERT_NE(made, nullptr);
    const std::string directory = made;
    g_free(made);
    const std::string command =
        std::string(VIMBO_ICON_PATH) + " --out " + directory + " --sheet " + directory + "/sheet.png";
    char* errors = nullptr;
    int status = -1;
    ASSERT_TRUE(g_spawn_command_line_sync(command.c_str(), nullptr, &errors, &status, nullptr));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << errors;
    g_free(errors);
    for (const char* name : {"slime.png", "dust.png", "dandelion.png"})
        EXPECT_EQ(pictureWidth(directory + "/" + name), 36) << name;
    EXPECT_EQ(pictureWidth(directory + "/sheet.png"), 3 * (36 + 28));
    std::filesystem::remove_all(directory);
}

} // namespace
