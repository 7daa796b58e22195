// options.h: the host's command line, read into a plain record.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    std::string configPath;                 // empty: Quorvane.qpanel beside the program
    std::vector<std::string> modulePaths;   // --module, in order; empty: VideoPoker.dll beside it
    std::vector<std::string> moduleFolders; // --module-folder: every .dll in each
    int freshTools = -1;                    // --tools N: the panel's tools replaced by N new ones
    int freshWidth = 0, freshHeight = 0;    // --tool-size WxH: new tools asked for this; 0: the usual size
    std::string exportPath;                 // --export: the panel as text, then quit
    std::string screenshotPath;             // --screenshot: write a PNG of the window, then quit
    std::string screenshotOf;               // --screenshot-of WHAT: the companion's window of that name instead
    bool unattended = false;                // --unattended: never wait on a message box
    bool noSave = false;                    // --no-save: leave the panel's store as it is
    bool help = false;
};

const char *HostUsage();

// Text laid out in two columns (by tabs or runs of spaces) made fit for a message box's proportional
// font: each entry on one line, "  key: words", the indent kept.
std::string OneColumn(const std::string &text);

// Reads argv[1..argc-1]. On a bad command line returns false and says why in error.
bool ParseHostOptions(int argc, const char *const *argv, HostOptions *options, std::string *error);
