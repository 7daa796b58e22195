// panel_file.cpp: writes and reads the text panel file (an older host's, imported, and the export); reading
// trusts a line only when its CRC holds.
#include "apps/quorvane/panel_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

namespace {

const char HeaderTag[] = "quorvane-panel";
const char HexDigits[] = "0123456789abcdef";

bool NeedsEscape(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '%';
}

std::string Escape(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (NeedsEscape(c)) {
            out += '%';
            out += HexDigits[c >> 4];
            out += HexDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string &text, std::string *out)
{
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out->push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        int high = HexValue(text[i + 1]);
        int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out->push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

std::string HexOf(const std::vector<uint8_t> &bytes)
{
    if (bytes.empty())
        return "-";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out += HexDigits[b >> 4];
        out += HexDigits[b & 15];
    }
    return out;
}

bool BytesOf(const std::string &hex, std::vector<uint8_t> *bytes)
{
    bytes->clear();
    if (hex == "-")
        return true;
    if (hex.empty() || hex.size() % 2 != 0 || hex.size() / 2 > MaxToolStateBytes)
        return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int high = HexValue(hex[i]);
        int low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes->push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

// A decimal number with an optional minus sign, nothing else, within [low, high].
bool NumberOf(const std::string &text, int64_t low, int64_t high, int64_t *value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == text.size() || text.size() - i > 10)
        return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    if (negative)
        v = -v;
    if (v < low || v > high)
        return false;
    *value = v;
    return true;
}

bool Int32Of(const std::string &text, int64_t low, int64_t high, int32_t *value)
{
    int64_t v = 0;
    if (!NumberOf(text, low, high, &v))
        return false;
    *value = static_cast<int32_t>(v);
    return true;
}

std::vector<std::string> SplitTabs(const std::string &text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = text.find('\t', start);
        if (tab == std::string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, tab - start));
        start = tab + 1;
    }
}

std::string Fields(std::initializer_list<std::string> fields)
{
    std::string out;
    for (const std::string &field : fields) {
        if (!out.empty())
            out += '\t';
        out += field;
    }
    return out;
}

std::string Decimal(int64_t value)
{
    char buffer[24];
    snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
}

bool ToolOf(const std::vector<std::string> &f, SavedTool *tool)
{
    if (f.size() != 8 && f.size() != 9)     // a file of an older host keeps no number
        return false;
    tool->number = 0;
    if (f.size() == 9 && !Int32Of(f[8], 1, MaxToolNumber, &tool->number))
        return false;
    if (!Unescape(f[1], &tool->moduleFile) || !Unescape(f[2], &tool->typeName))
        return false;
    return Int32Of(f[3], -MaxToolCoordinate, MaxToolCoordinate, &tool->x) &&
           Int32Of(f[4], -MaxToolCoordinate, MaxToolCoordinate, &tool->y) &&
           Int32Of(f[5], 1, MaxToolExtent, &tool->width) &&
           Int32Of(f[6], 1, MaxToolExtent, &tool->height) &&
           BytesOf(f[7], &tool->state);
}

bool WindowOf(const std::vector<std::string> &f, SavedWindow *window)
{
    int32_t maximized = 0;
    if (f.size() != 6)
        return false;
    if (!Int32Of(f[1], -MaxToolCoordinate, MaxToolCoordinate, &window->x) ||
        !Int32Of(f[2], -MaxToolCoordinate, MaxToolCoordinate, &window->y) ||
        !Int32Of(f[3], 1, MaxToolCoordinate, &window->width) ||
        !Int32Of(f[4], 1, MaxToolCoordinate, &window->height) || !Int32Of(f[5], 0, 1, &maximized))
        return false;
    window->maximized = maximized != 0;
    return true;
}

bool StartsWith(const std::string &text, const char *prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A damaged tool line's names, place and size, when those fields still read and a later field shows
// they were not cut short.
void PlaceOfDamaged(std::vector<std::string> f, PanelFileReport *report)
{
    SavedTool tool;
    if (f.size() < 8)
        return;
    std::string number = f.size() == 10 ? f[8] : "";
    f.resize(8);
    f[7] = "-";
    if (!ToolOf(f, &tool))
        return;
    Int32Of(number, 1, MaxToolNumber, &tool.number);
    report->placesOfDamaged.push_back(tool);
}

} // namespace

bool SavedTool::operator==(const SavedTool &other) const
{
    return moduleFile == other.moduleFile && typeName == other.typeName && x == other.x &&
           y == other.y && width == other.width && height == other.height && state == other.state &&
           number == other.number;
}

bool SavedWindow::operator==(const SavedWindow &other) const
{
    return x == other.x && y == other.y && width == other.width && height == other.height &&
           maximized == other.maximized;
}

// Rounded half away from zero, as MulDiv does.
int32_t AtDpi(int32_t value, int fromDpi, int toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi)
        return value;
    const int64_t scaled = static_cast<int64_t>(value) * toDpi * 2 / fromDpi;
    return static_cast<int32_t>(scaled >= 0 ? (scaled + 1) / 2 : -((1 - scaled) / 2));
}

SavedTool ToolAtDpi(SavedTool tool, int fromDpi, int toDpi)
{
    tool.x = AtDpi(tool.x, fromDpi, toDpi), tool.y = AtDpi(tool.y, fromDpi, toDpi);
    tool.width = AtDpi(tool.width, fromDpi, toDpi), tool.height = AtDpi(tool.height, fromDpi, toDpi);
    return tool;
}

SavedWindow WindowAtDpi(SavedWindow window, int fromDpi, int toDpi)
{
    window.x = AtDpi(window.x, fromDpi, toDpi), window.y = AtDpi(window.y, fromDpi, toDpi);
    window.width = AtDpi(window.width, fromDpi, toDpi), window.height = AtDpi(window.height, fromDpi, toDpi);
    return window;
}

bool ToolFitsLimits(const SavedTool &t)
{
    auto within = [](int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; };
    return !t.moduleFile.empty() && !t.typeName.empty() && within(t.x, -MaxToolCoordinate, MaxToolCoordinate) &&
           within(t.y, -MaxToolCoordinate, MaxToolCoordinate) && within(t.width, 1, MaxToolExtent) &&
           within(t.height, 1, MaxToolExtent) && t.state.size() <= MaxToolStateBytes &&
           within(t.number, 0, MaxToolNumber);
}

bool WindowFitsLimits(const SavedWindow &w)
{
    return w.x >= -MaxToolCoordinate && w.x <= MaxToolCoordinate && w.y >= -MaxToolCoordinate &&
           w.y <= MaxToolCoordinate && w.width >= 1 && w.width <= MaxToolCoordinate && w.height >= 1 &&
           w.height <= MaxToolCoordinate;
}

bool SavedPanel::SameContent(const SavedPanel &other) const
{
    if (nextNumber != other.nextNumber ||hasWindow != other.hasWindow || (hasWindow && !(window == other.window)) || settings != other.settings)
        return false;
    return tools == other.tools;
}

bool PanelFileReport::Clean() const
{
    if (damagedToolLines || damagedOtherLines || missingTools || droppedTools || newerVersion)
        return false;
    return headerFound && endFound;
}

std::string CheckedLine(const std::string &content)
{
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(content.data()),
                                             static_cast<uInt>(content.size())));
    char check[16];
    snprintf(check, sizeof check, "\t%08x", static_cast<unsigned>(crc));
    return content + check;
}

bool VerifyCheckedLine(const std::string &line, std::string *content)
{
    size_t tab = line.rfind('\t');
    if (tab == std::string::npos || line.size() - tab - 1 != 8)
        return false;
    uint32_t stated = 0;
    for (size_t i = tab + 1; i < line.size(); ++i) {
        char c = line[i];
        int v = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
        if (v < 0)
            return false;
        stated = stated << 4 | static_cast<uint32_t>(v);
    }
    if (crc32(0, reinterpret_cast<const Bytef *>(line.data()), static_cast<uInt>(tab)) != stated)
        return false;
    *content = line.substr(0, tab);
    return true;
}

std::string FormatPanelFile(const SavedPanel &panel)
{
    std::string out = "# Quorvane panel: one tool per line. Each line ends with the CRC-32 of what precedes its last tab.\r\n";
    out += CheckedLine(Fields({HeaderTag, Decimal(PanelFileVersion), Decimal(panel.generation)})) + "\r\n";
    if (panel.hasWindow) {
        const SavedWindow &w = panel.window;
        out += CheckedLine(Fields({"window", Decimal(w.x), Decimal(w.y), Decimal(w.width),
                                   Decimal(w.height), w.maximized ? "1" : "0"})) + "\r\n";
    }
    for (const auto &setting : panel.settings)
        out += CheckedLine(Fields({"setting", Escape(setting.first), Escape(setting.second)})) + "\r\n";
    for (const SavedTool &t : panel.tools) {
        std::string line = Fields({"tool", Escape(t.moduleFile), Escape(t.typeName), Decimal(t.x),
                                   Decimal(t.y), Decimal(t.width), Decimal(t.height), HexOf(t.state)});
        out += CheckedLine(t.number > 0 ? line + "\t" + Decimal(t.number) : line) + "\r\n";
    }
    out += CheckedLine(Fields({"end", Decimal(static_cast<int64_t>(panel.tools.size()))})) + "\r\n";
    return out;
}

SavedPanel ParsePanelFile(const char *text, size_t length, PanelFileReport *report)
{
    SavedPanel panel;
    PanelFileReport found;
    int64_t endCount = -1;
    size_t start = 0;
    while (start < length && !found.newerVersion) {
        // CR, LF and CRLF all end a line (old Mac editors write CR alone); the empty "line" between
        // CR and LF is skipped like any blank line.
        size_t stop = start;
        while (stop < length && text[stop] != '\n' && text[stop] != '\r')
            ++stop;
        std::string line(text + start, stop - start);
        start = stop + 1;
        if (line.empty())
            continue;
        found.empty = false;       // comments too: a file of nothing else is not one we wrote
        if (line[0] == '#')
            continue;
        if (endCount >= 0) {
            ++found.damagedOtherLines;     // nothing belongs after the end line
            continue;
        }

        // Only a line with a tool line's tag and field count (or the start of one, cut off by the
        // file's end) can have been a tool: other junk is damage, but must not turn into fresh tools.
        size_t fieldCount = SplitTabs(line).size();
        bool looksLikeTool = StartsWith(line, "tool\t") && (fieldCount == 9 || fieldCount == 10 || (stop == length && fieldCount < 10));
        std::string content;
        std::vector<std::string> f;
        bool good = VerifyCheckedLine(line, &content);
        if (good)
            f = SplitTabs(content);
        if (good && f[0] == HeaderTag && f.size() == 3 && !found.headerFound) {
            int64_t version = 0, generation = 0;
            good = NumberOf(f[1], 1, 1000000, &version) && NumberOf(f[2], 0, 0xFFFFFFFFll, &generation);
            if (good) {
                found.headerFound = true;
                found.newerVersion = version > PanelFileVersion;
                panel.generation = static_cast<uint32_t>(generation);
            }
        } else if (good && f[0] == "window" && !panel.hasWindow) {
            good = panel.hasWindow = WindowOf(f, &panel.window);
        } else if (good && f[0] == "setting" && f.size() == 3) {
            std::string name, value;
            if ((good = Unescape(f[1], &name) && Unescape(f[2], &value)))
                panel.settings[name] = value;
        } else if (good && f[0] == "tool") {
            SavedTool tool;
            good = ToolOf(f, &tool);
            if (good && static_cast<int>(panel.tools.size()) >= MaxPanelTools)
                ++found.droppedTools;
            else if (good)
                panel.tools.push_back(tool);
        } else if (good && f[0] == "end" && f.size() == 2) {
            good = NumberOf(f[1], 0, 1000000, &endCount);
            found.endFound = good;
        } else {
            good = false;
        }
        if (!good && looksLikeTool) {
            ++found.damagedToolLines;
            PlaceOfDamaged(SplitTabs(line), &found);
        }
        else if (!good)
            ++found.damagedOtherLines;
    }
    if (found.newerVersion)
        panel.tools.clear();
    if (endCount >= 0) {
        endCount = std::min<int64_t>(endCount, MaxPanelTools);   // no panel saves more
        int64_t accounted = static_cast<int64_t>(panel.tools.size()) + found.damagedToolLines +
                            found.droppedTools;
        if (endCount > accounted)
            found.missingTools = static_cast<int>(endCount - accounted);
    }
    if (report)
        *report = found;
    return panel;
}
