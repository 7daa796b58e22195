// screenshot_test.cpp: the host's --screenshot, decoded by the system's own PNG decoder (WIC).
#include <gtest/gtest.h>

#include <wincodec.h>

#include "tests/quorvane/host_driver.h"

namespace {

struct Picture {
    UINT width = 0, height = 0;
    std::vector<uint8_t> bgra;

    COLORREF At(UINT x, UINT y) const
    {
        const uint8_t *p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[2], p[1], p[0]);
    }
};

bool DecodePng(const std::string &path, Picture *picture)
{
    bool ok = false;
    IWICImagingFactory *factory = nullptr;
    IWICBitmapDecoder *decoder = nullptr;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICBitmapSource *converted = nullptr;
    std::wstring wide(path.begin(), path.end());
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void **>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
        SUCCEEDED(converted->GetSize(&picture->width, &picture->height))) {
        picture->bgra.resize(static_cast<size_t>(picture->width) * picture->height * 4);
        ok = SUCCEEDED(converted->CopyPixels(nullptr, picture->width * 4, static_cast<UINT>(picture->bgra.size()),
                                             picture->bgra.data()));
    }
    if (converted)
        converted->Release();
    if (frame)
        frame->Release();
    if (decoder)
        decoder->Release();
    if (factory)
        factory->Release();
    return ok;
}

bool Greenish(COLORREF c)
{
    return GetGValue(c) > GetRValue(c) + 20 && GetGValue(c) > GetBValue(c) + 10;
}

TEST(HostScreenshot, WritesAPngOfThePaintedWindowAndLeavesThePanelFileAlone)
{
    std::string folder = FreshTestFolder("screenshot");
    std::string config = folder + "\\panel.cfg";
    std::string png = folder + "\\panel.png";
    HostRun run;
    ASSERT_TRUE(run.Launch("--config \"" + config + "\" --unattended --tools 2 --screenshot \"" + png + "\""));
    DWORD code = 99;
    ASSERT_TRUE(run.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(FileExists(config)) << "a screenshot run saves nothing";

    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    Picture picture;
    ASSERT_TRUE(DecodePng(png, &picture));
    CoUninitialize();
    EXPECT_GE(picture.width, 360u);
    EXPECT_GE(picture.height, 260u);

    // The felt: green, and shaded rather than flat.
    COLORREF middle = picture.At(picture.width / 2, picture.height / 2);
    COLORREF corner = picture.At(picture.width - 20, picture.height - 40);
    EXPECT_TRUE(Greenish(middle));
    EXPECT_TRUE(Greenish(corner));
    EXPECT_GT(GetGValue(middle), GetGValue(corner) + 20) << "lighter in the middle than at the rim";

    // The tools had painted: their white card faces are in the picture.
    int white = 0;
    for (UINT y = 0; y < picture.height; ++y)
        for (UINT x = 0; x < picture.width; ++x)
            white += picture.At(x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 2 * 5 * 100) << "two tools of five cards each";
}

} // namespace
