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
    const auto help = answerTo({"--bogus", "--help", "--version"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->rfind("Usage: vimbo", 0), 0u);
    EXPECT_EQ(answerTo({"--debug", "--version", "--help"}), "Vimbo 1.2.3 (Build abc)\n");
    EXPECT_EQ(answerTo({"--debug", "-h", "--helpme", "--version=1"}), std::nullopt);
}

TEST(CommandLineTest, MatchesOnlyWholeArgumentsAfterTheProgramName) {
    const char* args[] = {"--debug", "--debugger", "--debug=1", "--debug"};
    EXPECT_FALSE(vimbo::app::hasSwitch(3, args, "--debug"));
    EXPECT_TRUE(vimbo::app::hasSwitch(4, args, "--debug"));
    EXPECT_FALSE(vimbo::app::hasSwitch(0, nullptr, "--debug"));
}

} // namespace
