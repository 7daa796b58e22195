// tool_state.cpp: the tool's answers to the host's state and size messages.
#include <cstdint>
#include "panel/tool.h"
#include "host/video_poker.h"

static_assert(GameRecordSize == VIDEO_POKER_BLOCK_SIZE, "the block a companion reads is the game record");

namespace {

// The aspect of 12 to 7 as the single-precision factors the host's sizes have always been scaled by.
constexpr float WidthPerHeight = 1.7142857f;
constexpr float HeightPerWidth = 0.5833333f;
static_assert(static_cast<double>(WidthPerHeight) == 1.71428573131561279296875, "12/7 as a float");
static_assert(static_cast<double>(HeightPerWidth) == 0.583333313465118408203125, "7/12 as a float");

const int DefaultWidth = 120;
const int DefaultHeight = 70;

// A 16-bit length times a factor, truncated, kept to 16 bits. The product is exact in a double.
WORD Scale(WORD length, float factor)
{
    double product = static_cast<double>(length) * static_cast<double>(factor);
    return static_cast<WORD>(static_cast<uint32_t>(product));
}

LRESULT PackSize(WORD width, WORD height)
{
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(width, height)));
}

} // namespace

LRESULT HandleGetState(HWND, VideoPokerToolData *data, WPARAM, LPARAM lParam)
{
    if (!data)
        return 0;   // no record yet or any more: nothing to hand out
    *reinterpret_cast<void **>(lParam) = &data->game;
    return GameRecordSize;
}

LRESULT HandleSetState(HWND, VideoPokerToolData *data, WPARAM, LPARAM lParam)
{
    if (!data)
        return 0;
    RestoreGameRecord(data->game, reinterpret_cast<const void *>(lParam));
    return 0;
}

LRESULT HandleGetDefaultSize(HWND, VideoPokerToolData *, WPARAM, LPARAM)
{
    return PackSize(DefaultWidth, DefaultHeight);
}

LRESULT HandleAdjustSize(HWND, VideoPokerToolData *, WPARAM, LPARAM lParam)
{
    const PanelSizeRequest &request = *reinterpret_cast<const PanelSizeRequest *>(lParam);
    WORD width, height;
    // Only the derived side is held to its maximum; the given length is taken as it is.
    if (request.heightGiven != 0) {
        height = request.length;
        width = Scale(height, WidthPerHeight);
        if (width > request.maxWidth) {
            width = LOWORD(request.maxWidth);
            height = Scale(width, HeightPerWidth);
        }
    } else {
        width = request.length;
        height = Scale(width, HeightPerWidth);
        if (height > request.maxHeight) {
            height = LOWORD(request.maxHeight);
            width = Scale(height, WidthPerHeight);
        }
    }
    if (width < request.minWidth || height < request.minHeight)
        return PackSize(LOWORD(request.minWidth), LOWORD(request.minHeight));
    return PackSize(width, height);
}
