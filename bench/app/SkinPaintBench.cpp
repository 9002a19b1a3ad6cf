// What the skin costs on the real windows, under Wine:
//   - one full non-client repaint of the main window (microseconds);
//   - a full repaint of the main window, frame and every control, skinned
//     against the same window with the skin switched off (ratio);
//   - BitmapToRegion of a 1920 x 40 caption strip (microseconds, rectangles).
//
//   skin_paint_bench [ROUNDS]
//   skin_paint_bench startup [plain]   start-up to the first complete paint
//                                      of the main window, skinned or with
//                                      no skin engine (run by startup_ratio.sh)

#include "app/Program.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinHost.h"
#include "skin/render/SkinManager.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinFrame.h"
#include "ui/Application.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <functional>
#include <vector>

using namespace orbelin;
using Clock = std::chrono::steady_clock;

namespace {

void Pump(int ms)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        Application().ProcessMessages();
        Sleep(5);
    }
}

// Median microseconds of `rounds` runs of work.
double Median(int rounds, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void FullRepaint(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// Whether the main window and all its controls have painted everything
// (and, skinned, its frame has started).
bool PaintedWhole(HWND main)
{
    if (GetUpdateRect(main, nullptr, FALSE))
        return false;
    bool whole = true;
    EnumChildWindows(
        main,
        [](HWND child, LPARAM param) -> BOOL {
            if (GetUpdateRect(child, nullptr, FALSE))
                *reinterpret_cast<bool*>(param) = false;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&whole));
    MSG msg;
    return whole && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

int StartUp(bool skinned)
{
    const auto start = Clock::now();
    RegisterProgramClasses();
    if (!skinned)
        SetSkinManagerFactory(nullptr);
    Application().Initialize();
    Application().SetTitle(ApplicationTitle);
    Form1 = Application().CreateForm<TForm1>();
    Form2 = Application().CreateForm<TForm2>();
    Form1->Show();
    HWND main = Form1->WindowHandle();
    for (;;) {
        Application().ProcessMessages();
        TSkinFrame* frame = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(main) : nullptr;
        const bool started = !skinned || (frame && frame->FrameState() == TSkinFrame::fsRunning);
        if (started && PaintedWhole(main))
            break;
        Sleep(0);
    }
    std::printf("%.2f\n", std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    Application().DestroyComponents();
    FreeSkinManager();
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command, int)
{
    const std::string arguments = command ? command : "";
    if (arguments.rfind("startup", 0) == 0)
        return StartUp(arguments.find("plain") == std::string::npos);
    const int rounds = std::max(1, std::atoi(command) > 0 ? std::atoi(command) : 200);
    CreateProgramForms();
    Form1->Show();
    Pump(800);
    HWND main = Form1->WindowHandle();
    TSkinFrame* frame = TSkinManage::Instance() ? TSkinManage::Instance()->FindFormSkin(main) : nullptr;
    if (!frame) {
        std::printf("the main window is not skinned\n");
        return 1;
    }
    const double ncPaint = Median(rounds, [&] {
        frame->PaintFrame();
        GdiFlush();
    });
    const double skinned = Median(rounds, [&] { FullRepaint(main); });

    TSkinBitmap strip(1920, 40, 24, RGBPixel(31, 68, 112));
    for (int y = 0; y < 8; ++y) // rounded corners cut in magenta at both ends
        for (int x = 0; x < 8 - y; ++x) {
            strip.SetPixel(x, y, MagentaPixel);
            strip.SetPixel(1919 - x, y, MagentaPixel);
        }
    size_t rects = 0;
    const double region = Median(rounds, [&] {
        TGdiHandle<HRGN> r = BitmapToRegion(strip, 0, 0, TTransparency{});
        rects = GetRegionData(r.Get(), 0, nullptr) > sizeof(RGNDATAHEADER)
                    ? (GetRegionData(r.Get(), 0, nullptr) - sizeof(RGNDATAHEADER)) / sizeof(RECT)
                    : 0;
    });

    Form1->Child<TSkinData>("SkinData1")->SetActive(false);
    Pump(800);
    const double plain = Median(rounds, [&] { FullRepaint(main); });

    std::printf("non-client repaint of the main window: %.0f us (median of %d)\n", ncPaint, rounds);
    std::printf("full repaint of the main window: skinned %.0f us, unskinned %.0f us, ratio %.2f\n", skinned, plain,
                skinned / plain);
    std::printf("BitmapToRegion of a 1920 x 40 strip: %.0f us, %zu rectangles\n", region, rects);
    Application().DestroyComponents();
    FreeSkinManager();
    return 0;
}
