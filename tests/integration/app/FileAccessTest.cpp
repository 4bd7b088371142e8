#include "webextension/FileAccess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vimbo::webextension {
namespace {

namespace fs = std::filesystem;

// A real folder with a space in its name, a file outside it, links in and out, and a link to the
// folder itself (as an installed share folder may be).
class FileAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(folder / "web");
        std::ofstream(folder / "web/index.html") << "page";
        std::ofstream(root / "secret.txt") << "outside";
        fs::create_symlink(root / "secret.txt", folder / "web/out.txt");
        fs::create_symlink(folder / "web/index.html", folder / "web/in.html");
        fs::create_symlink(folder, root / "linked share");
    }
    void TearDown() override { fs::remove_all(root); }

    std::string uri(const fs::path& path) {
        char* text = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        std::string result = text;
        g_free(text);
        return result;
    }

    const fs::path root = fs::path(::testing::TempDir()) / "vimbo-file-access";
    const fs::path folder = root / "vimbo share";
};

TEST_F(FileAccessTest, OnlyExistingLocalFilesReallyInsideTheFolder) {
    const std::string prefix = folder.string() + "/";
    const std::string index = uri(folder / "web/index.html");
    const std::pair<std::string, bool> cases[] = {
        {index, true},
        {"file://localhost" + index.substr(7), true},
        {index + "?export-smoke-test", true},                    // the page's test modes
        {index + "#top?a=/../../secret.txt", true},
        {uri(root / "secret.txt") + "?" + index, false},
        {uri(folder / "web/in.html"), true},                     // a link that stays inside
        {uri(folder / "web/out.txt"), false},                    // a link that leads out
        {uri(folder / "web/missing.js"), false},
        {uri(root / "vimbo share-other/web/index.html"), false}, // a sibling sharing the name's start
        {uri(folder) + "/web/%2E%2E/%2e%2e/secret.txt", false},
        {"file://elsewhere" + index.substr(7), false},
        {"https://example.com" + index.substr(7), false},
        {"not a uri", false},
    };
    for (const auto& [address, inside] : cases)
        EXPECT_EQ(isFileInside(address.c_str(), prefix), inside) << address;
    EXPECT_FALSE(isFileInside(nullptr, prefix));
    EXPECT_FALSE(isFileInside(index.c_str(), "")); // no folder given
    // The folder reached through a link to it is the same folder.
    EXPECT_TRUE(isFileInside(uri(root / "linked share/web/index.html").c_str(), (root / "linked share/").string()));
}

} // namespace
} // namespace vimbo::webextension
