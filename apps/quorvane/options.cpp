// options.cpp: the command line; every failure is a message, never an exit from here.
#include "apps/quorvane/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char *HostUsage()
{
    return "quorvane [options] [panel]\n"
           "  --config PATH         the panel (default: Quorvane.qpanel by the program);\n"
           "                        an older Quorvane.cfg is imported beside itself\n"
           "  --tools N             the panel's tools replaced by N new ones (0..64)\n"
           "  --tool-size WxH       new tools asked for this size (default 360x209)\n"
           "  --export PATH         the panel as text to PATH, the memory to PATH.trainer\n"
           "  --module PATH         load this panel-type module (repeatable)\n"
           "  --module-folder DIR   load every .dll in DIR as a panel-type module\n"
           "  --screenshot PATH     wait until painted, write a PNG of the window, quit\n"
           "  --screenshot-of WHAT  instead: the companion's window WHAT\n"
           "  --no-save             never write the panel's store\n"
           "  --unattended          never wait on a message box (questions: yes)\n"
           "  --help                this text\n";
}

std::string OneColumn(const std::string &text)
{
    std::string out;
    size_t start = 0;
    size_t entryIndent = std::string::npos;     // the indent of the entry before, while one goes on
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        size_t indent = line.find_first_not_of(' ');
        size_t gap = indent == std::string::npos ? std::string::npos : line.find_first_of('\t', indent);
        size_t spaces = indent == std::string::npos ? std::string::npos : line.find("  ", indent);
        if (gap == std::string::npos || (spaces != std::string::npos && spaces < gap))
            gap = spaces;
        size_t words = gap == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", gap);
        // A line indented past its entry's key goes on with the entry's words: in a proportional font
        // its spaces would not reach the column, so it joins the line before and the box wraps it.
        if (words == std::string::npos && entryIndent != std::string::npos && indent != std::string::npos &&
            indent > entryIndent && !out.empty() && out.back() == '\n') {
            out.insert(out.size() - 1, " " + line.substr(indent));
            continue;
        }
        entryIndent = std::string::npos;
        if (words != std::string::npos && line.find_first_not_of(" \t", indent) < gap) {
            line = line.substr(0, gap) + ": " + line.substr(words);
            entryIndent = indent;
        }
        out += line + (end == std::string::npos ? "" : "\n");
    }
    return out;
}

namespace {

bool NumberArgument(const char *text, long low, long high, long *value)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *value = v;
    return true;
}

// "360x209": two numbers from 1 to 4096.
bool SizeArgument(const char *text, int *width, int *height)
{
    const char *x = text ? strchr(text, 'x') : nullptr;
    long w = 0, h = 0;
    if (!x || !NumberArgument(std::string(text, x).c_str(), 1, 4096, &w) || !NumberArgument(x + 1, 1, 4096, &h))
        return false;
    *width = static_cast<int>(w), *height = static_cast<int>(h);
    return true;
}

} // namespace

bool ParseHostOptions(int argc, const char *const *argv, HostOptions *options, std::string *error)
{
    HostOptions parsed;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (value)
                return true;
            *error = arg + " needs a value";
            return false;
        };
        auto needNumber = [&](long low, long high, long *out) {
            if (!needValue())
                return false;
            if (NumberArgument(value, low, high, out))
                return true;
            *error = arg + " takes a number from " + std::to_string(low) + " to " + std::to_string(high) +
                     ", not \"" + value + "\"";
            return false;
        };
        long number = 0;
        if (arg == "--config") {
            if (!needValue())
                return false;
            parsed.configPath = value;
            ++i;
        } else if (arg == "--module") {
            if (!needValue())
                return false;
            parsed.modulePaths.push_back(value);
            ++i;
        } else if (arg == "--module-folder") {
            if (!needValue())
                return false;
            parsed.moduleFolders.push_back(value);
            ++i;
        } else if (arg == "--tools") {
            if (!needNumber(0, 64, &number))
                return false;
            parsed.freshTools = static_cast<int>(number);
            ++i;
        } else if (arg == "--tool-size") {
            if (!needValue())
                return false;
            if (!SizeArgument(value, &parsed.freshWidth, &parsed.freshHeight)) {
                *error = "--tool-size takes a width and a height such as 360x209, not \"" + std::string(value) + "\"";
                return false;
            }
            ++i;
        } else if (arg == "--screenshot") {
            if (!needValue())
                return false;
            parsed.screenshotPath = value;
            ++i;
        } else if (arg == "--screenshot-of") {
            if (!needValue())
                return false;
            parsed.screenshotOf = value;
            ++i;
        } else if (arg == "--export") {
            if (!needValue())
                return false;
            parsed.exportPath = value;
            ++i;
        } else if (arg == "--unattended") {
            parsed.unattended = true;
        } else if (arg == "--no-save") {
            parsed.noSave = true;
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            parsed.help = true;
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else if (parsed.configPath.empty()) {
            parsed.configPath = arg;
        } else {
            *error = "more than one panel: " + parsed.configPath + " and " + arg;
            return false;
        }
    }
    if (!parsed.screenshotOf.empty() && parsed.screenshotPath.empty()) {
        *error = "--screenshot-of needs --screenshot PATH";
        return false;
    }
    *options = parsed;
    return true;
}
