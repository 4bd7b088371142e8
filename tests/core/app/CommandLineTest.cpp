#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<std::string> answerTo(std::vector<const char*> args) {
    args.insert(args.begin(), "vimbo");
    return vimbo::app::informationRequest(static_cast<int>(args.size()), args.data(), "1.2.3 (Build abc)");
}

TEST(InformationRequestTest, FirstOfHelpAndVersionAnswersAndEverythingElseStartsTheProgram) {
    const auto help = answerTo({"--help"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->rfind("Usage: vimbo", 0), 0u);
    for (auto* documented : {"--debug", "--version", "--export-ui-test", "--track-info-smoke-test"}) {
        EXPECT_NE(help->find(documented), std::string::npos) << documented;
    }
    EXPECT_EQ(answerTo({"--debug", "--version", "--help"}), "Vimbo 1.2.3 (Build abc)\n");
    EXPECT_EQ(answerTo({"--bogus", "--help", "--version"}), help);
    for (auto args :
         std::vector<std::vector<const char*>>{{}, {"--debug", "-h", "--helpme", "--version=1"}}) {
        EXPECT_EQ(answerTo(args), std::nullopt);
    }
    const char* programNamedHelp[] = {"--help"};
    EXPECT_EQ(vimbo::app::informationRequest(1, programNamedHelp, "1"), std::nullopt);
}

} // namespace
