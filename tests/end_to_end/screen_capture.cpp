#include "screen_capture.h"

#include <algorithm>

namespace vestro::end_to_end {
namespace {

// A device context with a 32-bit top-down bitmap selected, and the bitmap's pixels.
class PixelCanvas {
  public:
    PixelCanvas(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        context_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(context_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(context_, bitmap_);
    }
    ~PixelCanvas() {
        SelectObject(context_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(context_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Context() const { return context_; }
    bool IsValid() const { return bits_ != nullptr; }
    std::uint32_t* Bits() const { return static_cast<std::uint32_t*>(bits_); }

    Picture Pixels() const {
        GdiFlush();
        Picture picture{width_, height_, {}};
        const std::size_t count = static_cast<std::size_t>(width_) * height_;
        picture.pixels.reserve(count);
        std::transform(Bits(), Bits() + count, std::back_inserter(picture.pixels),
                       [](std::uint32_t pixel) { return pixel & 0x00FFFFFFu; });
        return picture;
    }

  private:
    int width_;
    int height_;
    HDC context_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

template <typename Value>
void AppendLittleEndian(std::string& out, Value value) {
    for (std::size_t byte = 0; byte < sizeof(Value); ++byte) {
        out.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * byte)) & 0xFF));
    }
}

bool WriteWholeFile(const std::wstring& file, const std::string& bytes) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    return wrote && written == bytes.size();
}

}  // namespace

Picture CaptureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    PixelCanvas canvas(width, height);
    if (!canvas.IsValid()) {
        return {};
    }
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Context(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Pixels();
}

Picture RenderIcon(HICON icon, int width, int height, std::uint32_t background) {
    PixelCanvas canvas(width, height);
    if (!canvas.IsValid()) {
        return {};
    }
    std::fill(canvas.Bits(), canvas.Bits() + static_cast<std::size_t>(width) * height, background);
    DrawIconEx(canvas.Context(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return canvas.Pixels();
}

bool SaveScreenAsBitmap(const std::wstring& file) {
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const Picture picture = CaptureScreen(screen);
    if (picture.pixels.empty()) {
        return false;
    }
    // Rows of 24-bit pixels, bottom row first, each padded to four bytes.
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t kHeadersSize = 14 + 40;
    std::string out;
    out.reserve(kHeadersSize + imageSize);
    out.append("BM");
    AppendLittleEndian(out, kHeadersSize + imageSize);
    AppendLittleEndian(out, std::uint32_t{0});
    AppendLittleEndian(out, kHeadersSize);
    AppendLittleEndian(out, std::uint32_t{40});
    AppendLittleEndian(out, static_cast<std::int32_t>(picture.width));
    AppendLittleEndian(out, static_cast<std::int32_t>(picture.height));
    AppendLittleEndian(out, std::uint16_t{1});
    AppendLittleEndian(out, std::uint16_t{24});
    for (int field = 0; field < 6; ++field) {
        AppendLittleEndian(out, std::uint32_t{0});
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel =
                picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
            out.push_back(static_cast<char>(pixel & 0xFF));
            out.push_back(static_cast<char>((pixel >> 8) & 0xFF));
            out.push_back(static_cast<char>((pixel >> 16) & 0xFF));
        }
        out.resize(rowStart + rowSize, '\0');
    }
    return WriteWholeFile(file, out);
}

}  // namespace vestro::end_to_end
