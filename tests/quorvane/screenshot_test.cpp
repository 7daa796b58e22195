// screenshot_test.cpp: the host's --screenshot, decoded by the system's own PNG decoder (WIC).
#include <gtest/gtest.h>

#include <wincodec.h>
#include <algorithm>
#include <memory>

#include "apps/quorvane/canvas.h"
#include "tests/quorvane/host_driver.h"

namespace {

// The PNG at path, decoded by WIC onto a canvas of its size (WIC's BGRA is the canvas's own layout).
std::unique_ptr<Canvas> DecodePng(const std::string &path)
{
    std::unique_ptr<Canvas> picture;
    IWICImagingFactory *factory = nullptr;
    IWICBitmapDecoder *decoder = nullptr;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICBitmapSource *converted = nullptr;
    std::wstring wide(path.begin(), path.end());
    UINT width = 0, height = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void **>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
        SUCCEEDED(converted->GetSize(&width, &height))) {
        picture = std::make_unique<Canvas>(int(width), int(height));
        if (!picture->Ready() || FAILED(converted->CopyPixels(nullptr, width * 4, width * height * 4,
                                                              reinterpret_cast<BYTE *>(picture->bits))))
            picture.reset();
    }
    for (IUnknown *object : {static_cast<IUnknown *>(converted), static_cast<IUnknown *>(frame),
                             static_cast<IUnknown *>(decoder), static_cast<IUnknown *>(factory)})
        if (object)
            object->Release();
    return picture;
}

bool Greenish(uint32_t c)
{
    const int red = c >> 16, green = (c >> 8) & 0xFF, blue = c & 0xFF;
    return green > red + 20 && green > blue + 10;
}

TEST(HostScreenshot, WritesAPngOfThePaintedWindowAndLeavesThePanelFileAlone)
{
    std::string folder = FreshTestFolder("screenshot");
    std::string config = folder + "\\panel.cfg";
    std::string png = folder + "\\panel.png";
    HostRun run;
    ASSERT_TRUE(run.Launch("--config \"" + config + "\" --unattended --tools 2 --screenshot \"" + png + "\""));
    DWORD code = 99;
    ASSERT_TRUE(run.WaitExit(LongWait, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(FileExists(config)) << "a screenshot run saves nothing";

    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    std::unique_ptr<Canvas> picture = DecodePng(png);
    CoUninitialize();
    ASSERT_TRUE(picture);
    EXPECT_GE(picture->width, 360);
    EXPECT_GE(picture->height, 260);

    // The felt: green, and shaded rather than flat.
    const uint32_t middle = picture->At(picture->width / 2, picture->height / 2);
    const uint32_t corner = picture->At(picture->width - 20, picture->height - 40);
    EXPECT_TRUE(Greenish(middle) && Greenish(corner));
    EXPECT_GT(((middle >> 8) & 0xFF), ((corner >> 8) & 0xFF) + 20) << "lighter in the middle than at the rim";

    // The tools had painted: their white card faces are in the picture.
    const std::vector<uint32_t> pixels = picture->Pixels();
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xFFFFFFu), 2 * 5 * 100) << "two tools of five cards each";
}

} // namespace
