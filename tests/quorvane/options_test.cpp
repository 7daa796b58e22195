// options_test.cpp: the host's command line, good and bad.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/quorvane/options.h"

namespace {

bool Parse(const std::vector<const char *> &args, HostOptions *options, std::string *error)
{
    std::vector<const char *> argv = {"quorvane.exe"};
    argv.insert(argv.end(), args.begin(), args.end());
    return ParseHostOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(HostOptions, HelpFitsAConsoleAndABox)
{
    std::string usage = HostUsage();
    for (size_t at = 0, end; (end = usage.find('\n', at)) != std::string::npos; at = end + 1)
        EXPECT_LE(end - at, 79u) << usage.substr(at, end - at);
    EXPECT_EQ(OneColumn("  --tools N     fresh\n                ones\n  Ctrl++ / Ctrl+-\t\tlarger\nKeys\n    more\n"),
              "  --tools N: fresh ones\n  Ctrl++ / Ctrl+-: larger\nKeys\n    more\n")
        << "a continuation joins its entry; a line under a heading stays";
}

TEST(HostOptions, EveryOptionIsRead)
{
    HostOptions o;
    std::string error;
    ASSERT_TRUE(Parse({}, &o, &error));   // the saved panel beside the program, nothing else
    EXPECT_TRUE(o.configPath.empty() && o.freshTools == -1);
    EXPECT_FALSE(o.unattended || o.noSave || o.help);
    ASSERT_TRUE(Parse({"--config", "C:\\p.cfg", "--tools", "3", "--module", "a.dll", "--module", "b.dll",
                       "--module-folder", "mods", "--unattended", "--no-save", "--tool-size", "120x70"},
                      &o, &error))
        << error;
    EXPECT_EQ(o.configPath, "C:\\p.cfg");
    EXPECT_EQ(o.freshTools, 3);
    EXPECT_TRUE(o.freshWidth == 120 && o.freshHeight == 70);
    EXPECT_EQ(o.modulePaths, (std::vector<std::string>{"a.dll", "b.dll"}));
    EXPECT_EQ(o.moduleFolders, (std::vector<std::string>{"mods"}));
    EXPECT_TRUE(o.unattended && o.noSave);

    ASSERT_TRUE(Parse({"panel.cfg", "--screenshot", "shot.png"}, &o, &error)) << error;
    EXPECT_EQ(o.configPath, "panel.cfg");
    EXPECT_EQ(o.screenshotPath, "shot.png");
    ASSERT_TRUE(Parse({"--screenshot", "chart.png", "--screenshot-of", "chart"}, &o, &error)) << error;
    EXPECT_EQ(o.screenshotOf, "chart");
}

TEST(HostOptions, BadCommandLinesAreRefusedWithAReason)
{
    const std::vector<std::vector<const char *>> bad = {
        {"--tools"},                       // no value
        {"--tools", "65"},                 // more than a panel holds
        {"--tools", "-1"},
        {"--tools", "3x"},
        {"--tool-size", "360"},            // no height
        {"--tool-size", "0x209"},
        {"--tool-size", "360x209x1"},
        {"--save-loop", "0"},              // gone: a test's tool, not a player's
        {"--bogus"},
        {"a.cfg", "b.cfg"},
        {"--screenshot-of", "hint"},                             // no file to write it to
    };
    for (const auto &args : bad) {
        HostOptions o;
        o.freshTools = 42;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
        EXPECT_EQ(o.freshTools, 42) << "a refused command line leaves the options alone";
    }
}

} // namespace
