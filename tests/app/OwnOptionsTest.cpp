#include <gtest/gtest.h>

#include <vector>

#include "app/OwnOptions.h"
#include "app/Version.h"

namespace {

std::optional<std::string> textFor(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "tarvik");
    return OwnOptionText(static_cast<int>(arguments.size()), arguments.data());
}

}  // namespace

TEST(OwnOptions, VersionAndHelpAnswerWhereverTheyStand) {
    std::string version = std::string("tarvik ") + kTarvikVersion + "\n";
    EXPECT_EQ(textFor({"--version"}), version);
    EXPECT_EQ(textFor({"-platform", "offscreen", "--version"}), version);
    EXPECT_EQ(textFor({"--version", "--help"}), version) << "the first own argument answers";
    std::optional<std::string> help = textFor({"COM1", "--help", "--version"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->rfind("Usage: tarvik", 0), 0u);
}

TEST(OwnOptions, AnythingElseRunsTheStation) {
    for (const std::vector<const char*>& arguments :
         std::vector<std::vector<const char*>>{{}, {"-platform", "offscreen"}, {"COM1", "RTS"}, {"-version"},
                                               {"--versions"}, {"-h"}, {"--help=all"}, {"version"}})
        EXPECT_EQ(textFor(arguments), std::nullopt) << (arguments.empty() ? "" : arguments.front());
}
