// Pictures of the program's windows for docs/: when VORLINDE_SHOTS names a
// folder, save_shot() copies a window as it is on the screen into NAME.bmp
// there (scripts/docs-shots.sh turns them into PNG files). Otherwise it does
// nothing.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/handles.h"
namespace automation {

inline void save_shot(HWND window, const char* name) {
    const char* folder = std::getenv("VORLINDE_SHOTS");
    if (!folder || !*folder || !window) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);
    RECT box{};
    GetWindowRect(window, &box);
    // Only what is on the screen can be copied (a window may stand past its edge).
    box.left = std::max(box.left, 0L);
    box.top = std::max(box.top, 0L);
    box.right = std::min(box.right, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)));
    box.bottom = std::min(box.bottom, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)));
    const int width = box.right - box.left, height = box.bottom - box.top;
    const platform::win32::WindowDc screen(nullptr);
    const platform::win32::MemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const platform::win32::GdiObject<HBITMAP> bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), box.left, box.top, SRCCOPY);
    SelectObject(memory.get(), old);

    const DWORD row = ((width * 3 + 3) / 4) * 4, size = row * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    const std::string path = std::string(folder) + "\\" + name + ".bmp";
    const platform::win32::FileHandle out(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(out.get(), &file, sizeof(file), &written, nullptr);
    WriteFile(out.get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
    WriteFile(out.get(), bits, size, &written, nullptr);
}

}  // namespace automation
