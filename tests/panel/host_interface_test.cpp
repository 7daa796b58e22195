// host_interface_test.cpp: the exports, the type descriptor, the classes, and the state and size messages.
#include "tests/panel/panel_checks.h"

namespace {

class HostInterface : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

TEST_F(HostInterface, EnumerationAndInitialisationHandOutTheEntryPointsAndOneDescriptor)
{
    const ModuleCalls &calls = host.Module();
    // The names with their zeros and nothing past them, in buffers that were filled with 0x7F.
    EXPECT_EQ(std::string(calls.initName, 3 * 64),
              (std::string("InitVideoPokerToolType") + '\0').append(41, 0x7F) + "VideoPokerToolCreate" + '\0' +
                  std::string(43, 0x7F) + "VideoPokerToolCleanup" + '\0' + std::string(42, 0x7F));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(calls.module, calls.createName)),
              reinterpret_cast<void *>(calls.create));
    char buffers[3][64];
    memset(buffers, 0x33, sizeof buffers);
    EXPECT_EQ(calls.firstEnumeration, TRUE);
    EXPECT_EQ(calls.enumerate(buffers[0], buffers[1], buffers[2], host.HostInstance(), 0), FALSE);
    EXPECT_EQ(std::string(buffers[0], sizeof buffers), std::string(sizeof buffers, 0x33)) << "a second: no type";

    PanelTypeInfo *again = nullptr;
    EXPECT_EQ(calls.initResult, &calls.typeInfo) << "the slot's address is returned";
    GdiTableFill fill(50);
    const int free = fill.CountCreatable();
    EXPECT_EQ(calls.init(&again, 0), &again);
    EXPECT_EQ(fill.CountCreatable(), free) << "a second initialisation loads no bitmap again";
    ASSERT_EQ(again, calls.typeInfo);
    EXPECT_EQ(std::string(again->name) + "|" + again->description, "Video Poker|Video Poker Tool for Quorvane");
    BITMAP color = {}, mono = {};
    GetObjectA(again->colorBitmap, sizeof color, &color);
    GetObjectA(again->monoBitmap, sizeof mono, &mono);
    EXPECT_TRUE(color.bmWidth == 16 && color.bmHeight == 16 && mono.bmWidth == 16 && mono.bmHeight == 16 &&
                mono.bmBitsPixel == 1);
    ScopedWindow tool(host.CreateTool(RECT{0, 0, 120, 70}));
    EXPECT_NE(tool.get(), nullptr) << "after a second initialisation";
}

TEST_F(HostInterface, ClassesAreRegisteredUnderTheHostInstance)
{
    const struct {
        const char *name;
        int windowExtra;
        HCURSOR cursor;
        int brush;
    } classes[] = {{"VideoPokerTool", sizeof(LONG_PTR), LoadCursor(nullptr, IDC_ARROW), BLACK_BRUSH},
                   {"VideoPokerCard", 0, nullptr, WHITE_BRUSH},
                   {"VideoPokerDisplay", 0, nullptr, WHITE_BRUSH}};
    for (const auto &c : classes) {
        WNDCLASSA info = {};
        ASSERT_TRUE(GetClassInfoA(host.HostInstance(), c.name, &info)) << c.name;
        EXPECT_TRUE(info.style == CS_DBLCLKS && info.cbWndExtra == c.windowExtra && info.hCursor == c.cursor &&
                    info.hbrBackground == GetStockObject(c.brush)) << c.name;
        EXPECT_FALSE(GetClassInfoA(host.Module().module, c.name, &info)) << "not under the module's instance";
    }
}

TEST_F(HostInterface, SizesAreNegotiatedAtTwelveToSeven)
{
    const struct {
        LONG minWidth, minHeight, maxWidth, maxHeight, heightGiven;
        WORD length, width, height;
    } cases[] = {
        {60, 35, 240, 140, 0, 120, 120, 69},      // 7/12 as a float is just below: one pixel short
        {60, 35, 240, 140, 1, 70, 120, 70},       // 12/7 as a float is just above: exact
        {60, 35, 240, 140, 0, 300, 240, 140},     // the height is held to its maximum, the width follows
        {60, 35, 240, 140, 1, 141, 240, 139},     // the width is held to its maximum, the height follows
        {60, 35, 240, 140, 0, 50, 60, 35},        // below the minimum: the minimum, whatever its aspect
        {60, 35, 240, 140, 1, 20, 60, 35},
        {60, 35, 240, 200, 0, 250, 250, 145},     // only the derived side meets its maximum
        {60, 35, 240, 100, 1, 130, 222, 130},
        {0, 0, 100000, 100000, 1, 65535, 46809, 65535},  // 112345 kept to its low 16 bits
        {0, 0, -1, -1, 1, 70, 65535, 38228},      // a negative maximum, compared signed, is always passed
        {70000, 35, 240, 140, 0, 120, 4464, 35},  // the minimum's low 16 bits
    };
    ScopedWindow playing(host.CreateLaidOutTool(300, 175, SavedBlock({0, 1, 2, 3, 4}, {1}, false, 5, 3).data(), 72));
    ScopedWindow fresh(host.CreateLaidOutTool(120, 70));
    for (const auto &c : cases) {
        PanelSizeRequest request = {c.minWidth, c.minHeight, c.maxWidth, c.maxHeight, c.heightGiven, c.length};
        const PanelSizeRequest copy = request;
        for (UINT message : {PTM_ADJUSTSIZE1, PTM_ADJUSTSIZE2, PTM_ADJUSTSIZE3})
            for (HWND tool : {playing.get(), fresh.get()})
                EXPECT_EQ(DWORD(SendMessageA(tool, message, 0, LPARAM(&request))), DWORD(MAKELONG(c.width, c.height)))
                    << "message " << message << ", length " << c.length << (c.heightGiven ? " high" : " wide");
        EXPECT_EQ(memcmp(&request, &copy, sizeof request), 0) << "the request is only read";
    }
    EXPECT_EQ(SendMessageA(playing, PTM_GETDEFAULTSIZE, 0, 0), MAKELONG(120, 70));
    EXPECT_EQ(SendMessageA(fresh, PTM_GETDEFAULTSIZE, 123, 456), MAKELONG(120, 70));
}

TEST_F(HostInterface, StateIsTheLiveRecordAndSetStateRefreshesNothing)
{
    Bytes block = SavedBlock({0, 13, 26, 39, 12}, {1, 0, 1, 0, 0}, false, 3, 50);
    block[63] = 0xA5;
    ScopedWindow tool(host.CreateLaidOutTool(120, 70, block.data(), 72));
    unsigned char *address = nullptr;
    ASSERT_EQ(SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)), 72);
    EXPECT_EQ(memcmp(address, block.data(), 72), 0);
    SendMessageA(ToolRecord(tool)->cardWindows[1], WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(address[1], 1) << "a click shows at the address at once";

    const std::string face = Face(tool);
    const Bytes other = SavedBlock({5, 6, 7, 8, 9}, {0, 0, 1, 0, 0}, false, 4, 9);
    EXPECT_EQ(SendMessageA(tool, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(other.data())), 0);
    host.Pump();
    EXPECT_EQ(GameBytes(tool), other);
    EXPECT_EQ(static_cast<void *>(ToolRecord(tool)), static_cast<void *>(address)) << "the same address";
    EXPECT_EQ(Face(tool), face) << "displays, caption and buttons keep what they showed";
}

} // namespace
