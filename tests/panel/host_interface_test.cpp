// host_interface_test.cpp: the exports, the type descriptor, the classes, and the state and size messages.
#include "tests/panel/panel_checks.h"

#include <set>

namespace {

class HostInterface : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Ready()) << "VideoPoker.dll could not be loaded by its exports"; }
    TestHost &host = TestHost::Instance();
};

class StateAndSize : public HostInterface {};

void ExpectNameCopied(const char *buffer, const char *name)
{
    const size_t length = strlen(name);
    EXPECT_EQ(memcmp(buffer, name, length + 1), 0) << name;
    for (size_t i = length + 1; i < 64; ++i)
        ASSERT_EQ(static_cast<unsigned char>(buffer[i]), 0x7F) << name << ": byte " << i << " was written";
}

TEST_F(HostInterface, FirstEnumerationNamesTheEntryPointsExactly)
{
    const ModuleCalls &calls = host.Module();
    EXPECT_EQ(calls.firstEnumeration, TRUE);
    ExpectNameCopied(calls.initName, "InitVideoPokerToolType");
    ExpectNameCopied(calls.createName, "VideoPokerToolCreate");
    ExpectNameCopied(calls.cleanupName, "VideoPokerToolCleanup");
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(calls.module, calls.initName)),
              reinterpret_cast<void *>(calls.init));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(calls.module, calls.createName)),
              reinterpret_cast<void *>(calls.create));
    EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(calls.module, calls.cleanupName)),
              reinterpret_cast<void *>(calls.cleanup));
}

TEST_F(HostInterface, ExportsAreNumberedInAlphabeticalOrder)
{
    const char *names[] = {"EnumeratePanelTypes", "InitVideoPokerToolType", "VideoPokerToolCleanup",
                           "VideoPokerToolCreate"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byName = GetProcAddress(host.Module().module, names[ordinal - 1]);
        EXPECT_NE(byName, nullptr) << names[ordinal - 1];
        EXPECT_EQ(GetProcAddress(host.Module().module, MAKEINTRESOURCEA(ordinal)), byName) << ordinal;
    }
    EXPECT_EQ(GetProcAddress(host.Module().module, MAKEINTRESOURCEA(5)), nullptr);
}

TEST_F(HostInterface, SecondEnumerationYieldsNoTypeAndLeavesTheBuffers)
{
    char init[64], create[64], cleanup[64];
    memset(init, 0x33, sizeof init);
    memset(create, 0x33, sizeof create);
    memset(cleanup, 0x33, sizeof cleanup);
    EXPECT_EQ(host.Module().enumerate(init, create, cleanup, host.HostInstance(), 0), FALSE);
    for (const char *buffer : {init, create, cleanup})
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(buffer[i], 0x33) << "byte " << i;
}

TEST_F(HostInterface, EveryEnumerationReplacesTheInstanceWindowsAreMadeUnder)
{
    // The classes live under the test program's instance: under another one no tool can be made.
    HINSTANCE other = host.Module().module;
    char init[64], create[64], cleanup[64];
    EXPECT_EQ(host.Module().enumerate(init, create, cleanup, other, 0), FALSE);
    HWND stray = host.CreateTool(RECT{0, 0, 120, 70});
    EXPECT_EQ(stray, nullptr);
    if (stray)
        DestroyWindow(stray);
    EXPECT_EQ(host.Module().enumerate(init, create, cleanup, host.HostInstance(), 0), FALSE);
    ScopedWindow tool(host.CreateTool(RECT{0, 0, 120, 70}));
    EXPECT_NE(tool.get(), nullptr);
}

TEST_F(HostInterface, DescriptorNamesTheTypeAndCarriesTwoSmallBitmaps)
{
    const PanelTypeInfo *info = host.Module().typeInfo;
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->name, "Video Poker");
    EXPECT_STREQ(info->description, "Video Poker Tool for Quorvane");
    BITMAP color = {}, mono = {};
    ASSERT_TRUE(GetObjectA(info->colorBitmap, sizeof color, &color));
    ASSERT_TRUE(GetObjectA(info->monoBitmap, sizeof mono, &mono));
    EXPECT_EQ(color.bmWidth, 16);
    EXPECT_EQ(color.bmHeight, 16);
    EXPECT_EQ(mono.bmWidth, 16);
    EXPECT_EQ(mono.bmHeight, 16);
    EXPECT_EQ(mono.bmBitsPixel, 1);
}

TEST_F(HostInterface, SecondInitialisationHandsOutTheSameDescriptor)
{
    const ModuleCalls &calls = host.Module();
    EXPECT_EQ(calls.initResult, &calls.typeInfo) << "the slot's address is returned";
    PanelTypeInfo *again = nullptr;
    EXPECT_EQ(calls.init(&again, 0), &again);
    EXPECT_EQ(again, calls.typeInfo);
    EXPECT_STREQ(again->name, "Video Poker");
    EXPECT_EQ(GetObjectType(again->colorBitmap), static_cast<DWORD>(OBJ_BITMAP));
    ScopedWindow tool(host.CreateTool(RECT{0, 0, 120, 70}));
    EXPECT_NE(tool.get(), nullptr);
}

TEST_F(HostInterface, ClassesAreRegisteredUnderTheHostInstanceWithTheirAttributes)
{
    struct ClassCase {
        const char *name;
        int windowExtra;
        bool arrow;
        int brush;
    } classes[] = {
        {"VideoPokerTool", static_cast<int>(sizeof(LONG_PTR)), true, BLACK_BRUSH},
        {"VideoPokerCard", 0, false, WHITE_BRUSH},
        {"VideoPokerDisplay", 0, false, WHITE_BRUSH},
    };
    for (const ClassCase &c : classes) {
        SCOPED_TRACE(c.name);
        WNDCLASSEXA info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExA(host.HostInstance(), c.name, &info));
        EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, c.windowExtra);
        EXPECT_EQ(info.hIcon, nullptr);
        EXPECT_EQ(info.hCursor, c.arrow ? LoadCursor(nullptr, IDC_ARROW) : nullptr);
        EXPECT_EQ(info.hbrBackground, static_cast<HBRUSH>(GetStockObject(c.brush)));
        EXPECT_EQ(info.lpszMenuName, nullptr);
        EXPECT_FALSE(GetClassInfoExA(host.Module().module, c.name, &info)) << "not under the module's instance";
    }
}

TEST_F(HostInterface, CleanupLeavesToolsAndClassesWorking)
{
    ScopedWindow before(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(before.get(), nullptr);
    host.Module().cleanup(0);
    ClickButton(before, IDC_BET_ONE);
    EXPECT_EQ(DisplayText(before, 0), "WAGER: 1");
    ScopedWindow after(host.CreateLaidOutTool(120, 70));
    EXPECT_NE(after.get(), nullptr);
    EXPECT_EQ(GetObjectType(host.Module().typeInfo->monoBitmap), static_cast<DWORD>(OBJ_BITMAP));
}

struct SizeCase {
    LONG minWidth, minHeight, maxWidth, maxHeight;
    LONG heightGiven;
    WORD length;
    WORD width, height;
};

const SizeCase kSizes[] = {
    {60, 35, 240, 140, 0, 120, 120, 69},      // 7/12 as a float is just below: one pixel short
    {60, 35, 240, 140, 1, 70, 120, 70},       // 12/7 as a float is just above: exact
    {60, 35, 240, 140, 0, 300, 240, 140},     // the height is held to its maximum, the width follows
    {60, 35, 240, 140, 1, 141, 240, 139},     // the width is held to its maximum, the height follows
    {60, 35, 240, 140, 0, 50, 60, 35},        // below the minimum: the minimum, whatever its aspect
    {60, 35, 240, 140, 1, 20, 60, 35},
    {60, 35, 240, 140, 1, 140, 240, 140},
    {60, 35, 240, 140, 0, 240, 240, 139},
    {60, 35, 240, 200, 0, 250, 250, 145},     // only the derived side meets its maximum
    {60, 35, 240, 100, 1, 130, 222, 130},
    {0, 0, 100000, 100000, 0, 65535, 65535, 38228},
    {0, 0, 100000, 100000, 1, 65535, 46809, 65535},  // 112345 kept to its low 16 bits
    {0, 0, -1, -1, 1, 70, 65535, 38228},      // a negative maximum, compared signed, is always passed
    {-5, -5, 240, 140, 0, 0, 0, 0},
    {70000, 35, 240, 140, 0, 120, 4464, 35},  // the minimum's low 16 bits
};

TEST_F(StateAndSize, SizesAreNegotiatedAtTwelveToSeven)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    for (const SizeCase &c : kSizes) {
        PanelSizeRequest request = {c.minWidth, c.minHeight, c.maxWidth, c.maxHeight, c.heightGiven, c.length};
        const PanelSizeRequest copy = request;
        for (UINT message : {PTM_ADJUSTSIZE1, PTM_ADJUSTSIZE2, PTM_ADJUSTSIZE3}) {
            LRESULT packed = SendMessageA(tool, message, 0, reinterpret_cast<LPARAM>(&request));
            EXPECT_EQ(LOWORD(packed), c.width) << "message " << message << ", length " << c.length
                                               << (c.heightGiven ? " high" : " wide");
            EXPECT_EQ(HIWORD(packed), c.height) << "message " << message << ", length " << c.length
                                                << (c.heightGiven ? " high" : " wide");
        }
        EXPECT_EQ(memcmp(&request, &copy, sizeof request), 0) << "the request is only read";
    }
}

TEST_F(StateAndSize, SizeAnswersDoNotDependOnTheTool)
{
    SavedBlock block({0, 13, 26, 39, 12}, {1, 1, 0, 0, 0}, false, 5, 3);
    ScopedWindow playing(host.CreateLaidOutTool(300, 175, block.bytes, 72));
    ScopedWindow fresh(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(playing.get(), nullptr);
    ASSERT_NE(fresh.get(), nullptr);
    PanelSizeRequest request = {60, 35, 240, 140, 0, 180};
    EXPECT_EQ(SendMessageA(playing, PTM_ADJUSTSIZE2, 0, reinterpret_cast<LPARAM>(&request)),
              SendMessageA(fresh, PTM_ADJUSTSIZE2, 0, reinterpret_cast<LPARAM>(&request)));
    EXPECT_EQ(SendMessageA(playing, PTM_GETDEFAULTSIZE, 0, 0), 4587640);
    EXPECT_EQ(SendMessageA(fresh, PTM_GETDEFAULTSIZE, 123, 456), 4587640);
}

TEST_F(StateAndSize, StateIsTheLiveRecordAndComesBackUnchanged)
{
    SavedBlock block({0, 13, 26, 39, 12}, {1, 0, 1, 0, 0}, false, 3, 50);
    block.bytes[63] = 0xA5;
    ScopedWindow tool(host.CreateLaidOutTool(120, 70, block.bytes, 72));
    ASSERT_NE(tool.get(), nullptr);
    void *address = nullptr;
    ASSERT_EQ(SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&address)), 72);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(memcmp(address, block.bytes, 72), 0);

    unsigned char saved[72];
    memcpy(saved, address, 72);
    const ToolFace face = FaceOf(tool);
    EXPECT_EQ(SendMessageA(tool, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(saved)), 0);
    EXPECT_EQ(memcmp(address, saved, 72), 0);
    EXPECT_EQ(FaceOf(tool), face);

    // The address is the live record: a click shows there at once.
    ClickCard(tool, 1);
    EXPECT_EQ(static_cast<unsigned char *>(address)[1], 1);
    void *again = nullptr;
    SendMessageA(tool, PTM_GETSTATE, 0, reinterpret_cast<LPARAM>(&again));
    EXPECT_EQ(again, address);
}

TEST_F(StateAndSize, SetStateTakesTheBlockButRefreshesNothing)
{
    ScopedWindow tool(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(tool.get(), nullptr);
    const ToolFace fresh = FaceOf(tool);
    SavedBlock block({0, 13, 26, 39, 12}, {0, 0, 1, 0, 0}, false, 4, 9);
    EXPECT_EQ(SendMessageA(tool, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(block.bytes)), 0);
    host.Pump();
    EXPECT_EQ(memcmp(GameBytes(tool).data(), block.bytes, 72), 0);
    EXPECT_EQ(FaceOf(tool), fresh) << "displays, caption and buttons keep what they showed";
}

TEST_F(StateAndSize, ABlockSavedMidHandPlaysOnInANewTool)
{
    ScopedWindow first(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(first.get(), nullptr);
    ClickButton(first, IDC_BET_FIVE);
    ClickCard(first, 2);
    const std::array<unsigned char, 72> saved = GameBytes(first);

    ScopedWindow second(host.CreateLaidOutTool(240, 140, saved.data(), 72));
    ASSERT_NE(second.get(), nullptr);
    EXPECT_EQ(GameBytes(second), saved);
    EXPECT_EQ(FaceOf(second), ExpectedFace(false, 5, 95, "Video Poker"));
    const std::array<int, 5> dealt = CardsOf(second);
    ClickButton(second, IDC_DEAL_DRAW);
    EXPECT_EQ(CardsOf(second)[2], dealt[2]) << "the hold survived the save";
    const Hand hand = ClassifyHand(CardsOf(second));
    EXPECT_EQ(FaceOf(second), ExpectedFace(true, 0, 95 + PayFor(hand, 5), ResultLine(hand, 5)));
}

// No block strands the purse: a waiting hand with no coins on it can be drawn, and a Deal press
// left enabled by a set-state with no coins only puts the buttons right.
TEST_F(StateAndSize, ABlockWithNoCoinsOnTheTableNeverStrandsThePurse)
{
    SavedBlock waiting({0, 13, 26, 39, 12}, {0, 0, 0, 0, 0}, false, 0, 700);
    ScopedWindow drawn(host.CreateLaidOutTool(120, 70, waiting.bytes, 72));
    ASSERT_NE(drawn.get(), nullptr);
    ClickButton(drawn, IDC_DEAL_DRAW);
    EXPECT_EQ(FaceOf(drawn), ExpectedFace(true, 0, 700, ResultLine(ClassifyHand(CardsOf(drawn)), 0)))
        << "the draw is random: a paying hand names itself and pays nothing";

    ScopedWindow left(host.CreateLaidOutTool(120, 70));
    ASSERT_NE(left.get(), nullptr);
    ClickButton(left, IDC_BET_ONE);
    SavedBlock between({0, 13, 26, 39, 12}, {0, 0, 0, 0, 0}, true, 0, 700);
    SendMessageA(left, PTM_SETSTATE, 0, reinterpret_cast<LPARAM>(between.bytes));
    ClickButton(left, IDC_DEAL_DRAW);
    EXPECT_EQ(GameBytes(left)[62], 1) << "no hand was dealt without coins";
    EXPECT_EQ(CardsOf(left), (std::array<int, 5>{0, 13, 26, 39, 12}));
    EXPECT_TRUE(IsWindowEnabled(Button(left, IDC_BET_ONE)));
    EXPECT_FALSE(IsWindowEnabled(Button(left, IDC_DEAL_DRAW)));
}

// A card shown twice is not a pair: the doubled jack of spades is replaced when the block is taken.
TEST_F(StateAndSize, ADoubledCardInASavedHandIsNotPaidAsAPair)
{
    SavedBlock block({48, 48, 14, 29, 7}, {1, 1, 1, 1, 1}, false, 5, 100);
    ScopedWindow tool(host.CreateLaidOutTool(120, 70, block.bytes, 72));
    ASSERT_NE(tool.get(), nullptr);
    ClickButton(tool, IDC_DEAL_DRAW);
    const std::array<int, 5> cards = CardsOf(tool);
    EXPECT_EQ(std::set<int>(cards.begin(), cards.end()).size(), 5u);
    EXPECT_EQ(FaceOf(tool), ExpectedFace(true, 0, 100 + PayFor(ClassifyHand(cards), 5),
                                         ResultLine(ClassifyHand(cards), 5)));
    EXPECT_EQ(ClassifyHand(cards), Hand::Nothing);
}

} // namespace
