// panel_file.h: the saved panel as text: one checked line per tool, so damage costs only the lines it hits.
//
// Every line but comments ends in a tab and the CRC-32 (8 lowercase hex digits) of the bytes before
// that tab. A file reads:
//   # comment lines are ignored
//   quorvane-panel  1  <generation>                       header: format version, save counter
//   window  <x>  <y>  <width>  <height>  <maximized 0|1>  the main window's normal place
//   setting  <name>  <value>                             a setting of the host's companion
//   tool  <module file>  <type name>  <x>  <y>  <width>  <height>  <state hex or ->  <number>
//                                        (the number on the tab; files without it still read)
//   end  <tool count>                                     written last: the file is complete
// Names are %XX-escaped where they would hold a tab, a line break, a control byte or '%'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

constexpr int PanelFileVersion = 1;
constexpr size_t MaxToolStateBytes = 65536;   // a larger block is not saved
constexpr int MaxPanelTools = 64;             // tool lines beyond this are not read
constexpr int MaxToolExtent = 8192;           // widths and heights above this are damage
constexpr int MaxToolCoordinate = 32768;      // so are places further out than this
constexpr int MaxToolNumber = 9999;           // and tool numbers above this

struct SavedTool {
    std::string moduleFile;     // file name of the module that offers the type, e.g. "Clock.dll"
    std::string typeName;       // the type's descriptor name, e.g. "Clock"
    int32_t x = 0, y = 0, width = 0, height = 0;   // the tool window in the panel's client area
    std::vector<uint8_t> state; // the tool's saved block, as it handed it out
    int32_t number = 0;         // the tool's number on the panel; 0 when the file did not keep one

    bool operator==(const SavedTool &other) const;
    bool operator!=(const SavedTool &other) const { return !(*this == other); }
};

struct SavedWindow {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool maximized = false;

    bool operator==(const SavedWindow &other) const;
};

// Places and sizes are kept at 96 DPI, whatever the screen's: a host on a screen at another DPI shows
// them scaled (rounded to the nearest pixel, so that kept and shown again comes back the same).
constexpr int StoreDpi = 96;
int32_t AtDpi(int32_t value, int fromDpi, int toDpi);   // value * toDpi / fromDpi, to the nearest
SavedTool ToolAtDpi(SavedTool tool, int fromDpi, int toDpi);
SavedWindow WindowAtDpi(SavedWindow window, int fromDpi, int toDpi);

// Within the limits above (names may not be empty): what any reader takes as a tool or window.
bool ToolFitsLimits(const SavedTool &tool);
bool WindowFitsLimits(const SavedWindow &window);

struct SavedPanel {
    uint32_t generation = 0;    // counts saves; only informative
    int32_t nextNumber = 0;     // the number the next new tool takes: numbers are never used twice
    bool hasWindow = false;
    SavedWindow window;
    std::map<std::string, std::string> settings;   // "setting" lines: a companion's, kept as read
    std::vector<SavedTool> tools;   // in saving order, which is the panel's z-order, bottom first

    // Same content (the next number too); the generation is ignored.
    bool SameContent(const SavedPanel &other) const;
};

// What reading found besides the records.
struct PanelFileReport {
    bool empty = true;          // nothing but blank lines
    bool headerFound = false;
    bool newerVersion = false;  // a header of a later format: nothing else was read
    bool endFound = false;      // the file is complete
    int damagedToolLines = 0;   // lines shaped as tool lines that failed their check or their syntax
    int damagedOtherLines = 0;  // any other line that failed, or came after the end line
    int missingTools = 0;       // counted by the end line, but neither read nor seen damaged
    int droppedTools = 0;       // good tool lines beyond MaxPanelTools
    // Damaged tool lines whose place, size and names still read: where their tools start fresh (no
    // state; the number when the line still had one).
    std::vector<SavedTool> placesOfDamaged;

    // Tools that were in the file but cannot come back as they were.
    int LostTools() const { return damagedToolLines + missingTools; }
    // The file was read whole and intact (an empty file is not: no host writes one).
    bool Clean() const;
};

std::string FormatPanelFile(const SavedPanel &panel);

// Reads whatever can be trusted from text; never fails, whatever the bytes.
SavedPanel ParsePanelFile(const char *text, size_t length, PanelFileReport *report);

// One line with its check appended, and the reverse: the content if the check holds.
std::string CheckedLine(const std::string &content);
bool VerifyCheckedLine(const std::string &line, std::string *content);
