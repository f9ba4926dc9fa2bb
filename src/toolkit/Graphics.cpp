#include "toolkit/Graphics.h"

#include <cstdint>
#include <cstring>

#include "toolkit/Comctl32.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemLibrary.h"

namespace zq {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

// ---- TFont

TFont::TFont() = default;

void TFont::Changed() {
    // Windows still using the old handle are given the new one by the listeners; only then
    // does the old one go.
    UniqueFont old = std::move(FHandle);
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const std::string& name) {
    if (name != FName) {
        FName = name;
        Changed();
    }
}

void TFont::SetHeight(int height) {
    if (height != FHeight) {
        FHeight = height;
        Changed();
    }
}

namespace {
int ScreenLogPixelsY() {
    WindowDC dc(nullptr);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}
} // namespace

int WindowPixelsPerInch(HWND wnd) {
    if (auto forWindow = LoadedProc<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow"))
        if (UINT dpi = forWindow(wnd))
            return static_cast<int>(dpi);
    TSystemLibrary shcore("shcore.dll");
    UINT x = 0, y = 0;
    if (auto forMonitor =
            shcore.Proc<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>("GetDpiForMonitor"))
        if (forMonitor(MonitorFromWindow(wnd, MONITOR_DEFAULTTOPRIMARY), 0, &x, &y) == S_OK && y)
            return static_cast<int>(y);
    return ScreenLogPixelsY();
}

int SmallIconSize() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    auto metric = LoadedProc<int(WINAPI*)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi");
    if (metric != nullptr && taskbar != nullptr)
        return metric(SM_CXSMICON, static_cast<UINT>(WindowPixelsPerInch(taskbar)));
    return GetSystemMetrics(SM_CXSMICON);
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, ScreenLogPixelsY());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenLogPixelsY(), 72));
}

void TFont::SetColor(TColor color) {
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

void TFont::SetCharset(int charset) {
    if (charset != FCharset) {
        FCharset = charset;
        Changed();
    }
}

void TFont::SetQuality(TFontQuality quality) {
    if (quality != FQuality) {
        FQuality = quality;
        Changed();
    }
}

void TFont::Assign(const TFont& source) {
    if (&source == this)
        return;
    FName = source.FName;
    FHeight = source.FHeight;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FCharset = source.FCharset;
    FQuality = source.FQuality;
    Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTA lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
        lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = static_cast<BYTE>(FCharset);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality =
            FQuality == TFontQuality::fqNonAntialiased ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle.Reset(CreateFontIndirectA(&lf));
    }
    return FHandle.Get();
}

// ---- TBrush, TPen

void TBrush::SetColor(TColor color) {
    FColor = color;
}

HBRUSH TBrush::Handle() const {
    COLORREF rgb = ColorToRGB(FColor);
    if (!FHandle || rgb != FHandleColor) {
        FHandle.Reset(CreateSolidBrush(rgb));
        FHandleColor = rgb;
    }
    return FHandle.Get();
}

void TPen::SetColor(TColor color) {
    FColor = color;
}

void TPen::SetWidth(int width) {
    if (width != FWidth) {
        FWidth = width;
        FHandle.Reset();
    }
}

HPEN TPen::Handle() const {
    COLORREF rgb = ColorToRGB(FColor);
    if (!FHandle || rgb != FHandleColor) {
        FHandle.Reset(CreatePen(PS_SOLID, FWidth, rgb));
        FHandleColor = rgb;
    }
    return FHandle.Get();
}

// ---- TCanvas

HDC TCanvas::Handle() {
    return FHandle;
}

void TCanvas::FillRect(const TRect& r) {
    if (FBrush.Style() == TBrushStyle::bsClear)
        return;
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    ::FillRect(Handle(), &rc, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    ::FrameRect(Handle(), &rc, FBrush.Handle());
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    HDC dc = Handle();
    SelectGuard pen(dc, FPen.Handle());
    ::LineTo(dc, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    HDC dc = Handle();
    SelectGuard font(dc, FFont.Handle());
    SetTextColor(dc, ColorToRGB(FFont.Color()));
    // An opaque brush paints the text cell's background in the brush colour.
    if (FBrush.Style() == TBrushStyle::bsClear) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(FBrush.Color()));
    }
    ExtTextOutA(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    HDC dc = Handle();
    SelectGuard font(dc, FFont.Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    HDC dest = Handle();
    int w = bitmap.Width(), h = bitmap.Height();
    if (!bitmap.Transparent()) {
        BitBlt(dest, x, y, w, h, bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    // Monochrome mask: 1 where the source has the transparent colour.
    HDC src = bitmap.Canvas().Handle();
    TColor key = bitmap.TransparentColor();
    COLORREF keyRgb = key == clNone ? bitmap.PixelAt(0, h - 1) : ColorToRGB(key);
    UniqueDC maskDC(CreateCompatibleDC(dest));
    UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    SelectGuard selMask(maskDC.Get(), mask.Get());
    COLORREF oldBk = SetBkColor(src, keyRgb);
    BitBlt(maskDC.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldBk);
    // dest = (dest AND mask) OR (src AND NOT mask)
    COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dest, RGB(255, 255, 255));
    UniqueDC workDC(CreateCompatibleDC(dest));
    UniqueBitmap work(CreateCompatibleBitmap(dest, w, h));
    SelectGuard selWork(workDC.Get(), work.Get());
    BitBlt(workDC.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(workDC.Get(), RGB(0, 0, 0));
    SetTextColor(workDC.Get(), RGB(255, 255, 255));
    BitBlt(workDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, SRCAND); // zero the transparent pixels
    BitBlt(dest, x, y, w, h, maskDC.Get(), 0, 0, SRCAND);         // keep dest where transparent
    BitBlt(dest, x, y, w, h, workDC.Get(), 0, 0, SRCPAINT);
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldBack);
}

void TCanvas::CopyRect(const TRect& d, TCanvas& source, const TRect& s) {
    StretchBlt(Handle(), d.Left, d.Top, d.Width(), d.Height(), source.Handle(), s.Left, s.Top,
               s.Width(), s.Height(), SRCCOPY);
}

COLORREF TCanvas::Pixel(int x, int y) {
    return GetPixel(Handle(), x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    ::SetPixel(Handle(), x, y, ColorToRGB(color));
}

// ---- TBitmap

HDC TBitmapCanvas::Handle() {
    return FOwner.SelectedDC();
}

TBitmap::TBitmap() : FCanvas(*this) {}

TBitmap::~TBitmap() {
    if (FDC && FOldBitmap)
        SelectObject(FDC.Get(), FOldBitmap);
}

HDC TBitmap::SelectedDC() {
    if (FResourcePending)
        DrawResource();
    if (!FDC)
        FDC.Reset(CreateCompatibleDC(nullptr));
    if (FBitmap && !FOldBitmap)
        FOldBitmap = SelectObject(FDC.Get(), FBitmap.Get());
    return FDC.Get();
}

HBITMAP TBitmap::Handle() {
    if (FResourcePending)
        DrawResource();
    if (FDC && FOldBitmap) {
        SelectObject(FDC.Get(), FOldBitmap);
        FOldBitmap = nullptr;
    }
    GdiFlush();
    return FBitmap.Get();
}

TCanvas& TBitmap::Canvas() {
    return FCanvas;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (width == FWidth && height == FHeight)
        return;
    FResourcePending = false;
    Handle(); // deselect before the old bitmap goes
    FBitmap.Reset();
    FBits = nullptr;
    FWidth = width;
    FHeight = height;
    MakeSection();
}

void TBitmap::MakeSection() {
    if (FWidth == 0 || FHeight == 0)
        return;
    const int width = FWidth, height = FHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FBitmap) {
        FWidth = FHeight = 0;
        return;
    }
    FBits = bits;
    std::memset(FBits, 0, static_cast<size_t>(width) * height * 4);
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this)
        return;
    if (source.FResourcePending) {
        // Still a resource: so is the copy.
        SetSize(0, 0);
        FWidth = source.FWidth;
        FHeight = source.FHeight;
        FResourceModule = source.FResourceModule;
        FResourceId = source.FResourceId;
        FResourcePending = true;
        FTransparent = source.FTransparent;
        FTransparentColor = source.FTransparentColor;
        return;
    }
    SetSize(source.FWidth, source.FHeight);
    if (FBits && source.FBits) {
        GdiFlush();
        std::memcpy(FBits, source.FBits, static_cast<size_t>(FWidth) * FHeight * 4);
    }
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
}

namespace {
// A bitmap resource: its header and colour table, and its pixels. The header, the colour table
// and the pixels must lie inside the resource.
struct TBitmapResource {
    const BITMAPINFO* Info = nullptr;
    const std::uint8_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
};

TBitmapResource FindBitmapResource(HINSTANCE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    HGLOBAL data = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = data ? static_cast<const std::uint8_t*>(LockResource(data)) : nullptr;
    const DWORD size = bytes ? SizeofResource(module, found) : 0;
    BITMAPINFOHEADER header{};
    if (size >= sizeof header)
        std::memcpy(&header, bytes, sizeof header);
    const bool compressed = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    const std::uint64_t colours =
        header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount)
                               : (header.biCompression == BI_BITFIELDS ? 3 : 0);
    const std::uint64_t offset = std::uint64_t{header.biSize} + colours * 4;
    const std::uint64_t width = header.biWidth > 0 ? header.biWidth : 0;
    const std::uint64_t height =
        header.biHeight < 0 ? -std::int64_t{header.biHeight} : std::uint64_t(header.biHeight);
    const std::uint64_t pixels =
        compressed ? header.biSizeImage : (width * header.biBitCount + 31) / 32 * 4 * height;
    if (header.biSize < sizeof header || header.biPlanes != 1 || header.biBitCount == 0 ||
        width == 0 || height == 0 || width > 0x4000 || height > 0x4000 || offset + pixels > size ||
        (compressed && pixels == 0))
        return {};
    return {reinterpret_cast<const BITMAPINFO*>(bytes), bytes + offset, static_cast<int>(width),
            static_cast<int>(height)};
}
} // namespace

bool TBitmap::LoadFromResource(HINSTANCE module, int id) {
    const TBitmapResource resource = FindBitmapResource(module, id);
    Clear();
    if (resource.Info == nullptr)
        return false;
    FWidth = resource.Width;
    FHeight = resource.Height;
    FResourceModule = module;
    FResourceId = id;
    FResourcePending = true;
    return true;
}

// GDI expands the resource's palette and its run-length encoding (the program's pictures are
// stored as BI_RLE8) straight into the bitmap.
void TBitmap::DrawResource() {
    const TBitmapResource resource = FindBitmapResource(FResourceModule, FResourceId);
    FResourcePending = false;
    if (resource.Info == nullptr || resource.Width != FWidth || resource.Height != FHeight) {
        FWidth = FHeight = 0;
        return;
    }
    MakeSection();
    if (Empty())
        return;
    const int copied = StretchDIBits(SelectedDC(), 0, 0, FWidth, FHeight, 0, 0, FWidth, FHeight,
                                     resource.Pixels, resource.Info, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    if (copied == 0 || copied == static_cast<int>(GDI_ERROR))
        Clear();
}

COLORREF TBitmap::PixelAt(int x, int y) const {
    if (FResourcePending)
        const_cast<TBitmap*>(this)->DrawResource();
    if (!FBits || x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return CLR_INVALID;
    GdiFlush();
    std::uint32_t bgra;
    std::memcpy(&bgra, static_cast<const char*>(FBits) + (static_cast<size_t>(y) * FWidth + x) * 4,
                4);
    // DIB memory is B, G, R, X; a COLORREF is 0x00BBGGRR.
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

std::uint32_t* TBitmap::Pixels() {
    GdiFlush();
    return static_cast<std::uint32_t*>(FBits);
}

// ---- TIcon

void TIcon::AssignAlphaBitmap(TBitmap& bitmap) {
    const int width = bitmap.Width(), height = bitmap.Height();
    const std::uint32_t* pixels = bitmap.Pixels();
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } mono{{sizeof(BITMAPINFOHEADER), width, -height, 1, 1, BI_RGB, 0, 0, 0, 2, 0},
           {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    void* bits = nullptr;
    UniqueBitmap mask(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&mono),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
    if (pixels == nullptr || !mask) {
        Clear();
        return;
    }
    // Rows of whole 32-bit words; a set bit keeps the screen.
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    auto* rows = static_cast<std::uint8_t*>(bits);
    std::memset(rows, 0, stride * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((pixels[static_cast<std::size_t>(y) * width + x] >> 24) == 0)
                rows[y * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    ICONINFO info{TRUE, 0, 0, mask.Get(), bitmap.Handle()};
    FHandle.Reset(CreateIconIndirect(&info));
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this)
        return;
    FHandle.Reset(source.Empty() ? nullptr : CopyIcon(source.Handle()));
}

bool TIcon::LoadFromResource(HINSTANCE module, int id) {
    HANDLE h = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    FHandle.Reset(static_cast<HICON>(h));
    return !Empty();
}

namespace {
SIZE IconSize(HICON icon) {
    SIZE size{0, 0};
    ICONINFO info{};
    if (icon && GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (GetObjectA(info.hbmMask, sizeof bm, &bm)) {
            size.cx = bm.bmWidth;
            size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        }
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
    return size;
}
} // namespace

int TIcon::Width() const {
    return IconSize(Handle()).cx;
}
int TIcon::Height() const {
    return IconSize(Handle()).cy;
}

// ---- TImageList

// A picture kept until the system's list is made: a bitmap's pixels (without a DIB section of
// its own) or an icon.
struct TImageList::TPendingImage {
    std::vector<std::uint32_t> Pixels;
    int Width = 0;
    int Height = 0;
    TColor MaskColor = clNone;
    TIcon Icon;
};

namespace {
int AddBitmap(HIMAGELIST list, TBitmap& bitmap, TColor maskColor) {
    if (maskColor == clNone)
        return Comctl32().ImageListAdd(list, bitmap.Handle(), nullptr);
    return Comctl32().ImageListAddMasked(list, bitmap.Handle(), ColorToRGB(maskColor));
}

int AddIconTo(HIMAGELIST list, const TIcon& icon) {
    return Comctl32().ImageListReplaceIcon(list, -1, icon.Handle());
}
} // namespace

TImageList::TImageList(int width, int height, TComponent* owner)
    : TComponent(owner), FWidth(width), FHeight(height) {}

TImageList::~TImageList() = default;

HIMAGELIST TImageList::Handle() const {
    if (FHandle)
        return FHandle.Get();
    FHandle.Reset(Comctl32().ImageListCreate(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 1, 1));
    if (!FHandle)
        throw Exception("Cannot create an image list");
    for (const auto& image : FPending) {
        if (!image->Icon.Empty()) {
            AddIconTo(FHandle.Get(), image->Icon);
            continue;
        }
        TBitmap bitmap;
        bitmap.SetSize(image->Width, image->Height);
        if (bitmap.FBits != nullptr)
            std::memcpy(bitmap.FBits, image->Pixels.data(), image->Pixels.size() * 4);
        AddBitmap(FHandle.Get(), bitmap, image->MaskColor);
    }
    FPending.clear();
    return FHandle.Get();
}

int TImageList::Defer(std::unique_ptr<TPendingImage> image) {
    FPending.push_back(std::move(image));
    return static_cast<int>(FPending.size()) - 1;
}

int TImageList::Count() const {
    if (!FHandle)
        return static_cast<int>(FPending.size());
    return Comctl32().ImageListGetImageCount(FHandle.Get());
}

int TImageList::AddMasked(TBitmap& bitmap, TColor maskColor) {
    if (!FHandle) {
        auto image = std::make_unique<TPendingImage>();
        if (bitmap.FResourcePending)
            bitmap.DrawResource();
        GdiFlush();
        image->Width = bitmap.Width();
        image->Height = bitmap.Height();
        if (bitmap.FBits != nullptr) {
            const auto* pixels = static_cast<const std::uint32_t*>(bitmap.FBits);
            image->Pixels.assign(pixels, pixels + std::size_t(image->Width) * image->Height);
        }
        image->MaskColor = maskColor;
        return Defer(std::move(image));
    }
    return AddBitmap(Handle(), bitmap, maskColor);
}

int TImageList::AddIcon(const TIcon& icon) {
    if (icon.Empty())
        return -1;
    if (!FHandle) {
        auto image = std::make_unique<TPendingImage>();
        image->Icon.Assign(icon);
        return Defer(std::move(image));
    }
    return AddIconTo(Handle(), icon);
}

void TImageList::GetIcon(int index, TIcon& icon) const {
    if (index < 0 || index >= Count()) {
        icon.Clear();
        return;
    }
    icon.SetHandle(Comctl32().ImageListGetIcon(Handle(), index, ILD_NORMAL));
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) {
    Comctl32().ImageListDraw(Handle(), index, canvas.Handle(), x, y, ILD_NORMAL);
}

} // namespace zq
