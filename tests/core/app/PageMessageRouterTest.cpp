#include "core/app/PageMessageRouter.h"

#include <gtest/gtest.h>

#include <string>

namespace vimbo::app {
namespace {

// The first rule that takes a body acts; an exact rule needs the whole body; a prefix rule hands on
// the text after its prefix; a declining rule lets the later ones try.
TEST(PageMessageRouterTest, FirstRuleThatTakesTheBodyActsWithTheTextAfterItsPrefix) {
    std::string taken;
    auto note = [&taken](const char* rule) {
        return [&taken, rule](std::string_view payload) { taken = rule + ("|" + std::string(payload)); };
    };
    PageMessageRouter router;
    router
        .prefixUnlessDeclined("drag:",
                              [&](std::string_view json) {
                                  if (json == "ok") note("drag")(json);
                                  return json == "ok";
                              })
        .exact("drag:bad", [&] { taken = "dragBad"; })
        .exact("a:1", [&] { taken = "a1"; })
        .prefix("a:", note("a"))
        .exact("later", [&] { taken = "later"; })
        .prefix("lat", note("lat"));
    for (auto [body, expected] : {std::pair{"drag:ok", "drag|ok"},
                                  {"drag:bad", "dragBad"},
                                  {"drag:x", "unrouted"},
                                  {"a:1", "a1"},
                                  {"a:12", "a|12"},
                                  {"later", "later"},
                                  {"latest", "lat|est"},
                                  {"a", "unrouted"}}) {
        taken.clear();
        if (!router.route(body)) taken = "unrouted";
        EXPECT_EQ(taken, expected) << body;
    }
}

} // namespace
} // namespace vimbo::app
