#include "webextension/FileAccess.h"

#include <gtest/gtest.h>

namespace vimbo::webextension {
namespace {

TEST(FileAccessTest, OnlyLocalFilesBelowTheFolderAfterDecoding) {
    const std::string_view folder = "/opt/vimbo share/";
    const std::pair<const char*, bool> cases[] = {
        {"file:///opt/vimbo%20share/web/index.html", true},
        {"file://localhost/opt/vimbo%20share/web/js/page.js", true},
        {"file:///opt/vimbo%20share-other/web/index.html", false}, // a sibling sharing the name's start
        {"file:///opt/vimbo%20share/web/%2E%2E/%2e%2e/etc/passwd", false},
        {"file://elsewhere/opt/vimbo%20share/web/index.html", false},
        {"https://example.com/opt/vimbo%20share/web/index.html", false},
        {"not a uri", false},
        {nullptr, false},
    };
    for (auto [uri, inside] : cases)
        EXPECT_EQ(isFileInside(uri, folder), inside) << (uri ? uri : "null");
    EXPECT_FALSE(isFileInside("file:///opt/vimbo%20share/web/index.html", "")); // no folder given
}

} // namespace
} // namespace vimbo::webextension
