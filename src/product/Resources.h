#pragma once
// Resource identifiers of the resource script (res/zentiq.rc.in).
namespace zq {
constexpr int kMainIcon = 1;   // the first icon: the toolkit's windows show it (kProgramIcon)
constexpr int kTrayIcon32 = 2; // the plain tray icon's picture, 32 by 32, 16 colours
constexpr int kTrayIcon16 = 3; // the text tray icon's picture, 16 by 16, 16 colours
// Pictures of the About box (res/make_pictures.py): the maker's banner for the black panel,
// 212 by 56; the product's name as lettering, 117 by 54, transparent where the pixels are
// kLetteringTransparent.
constexpr int kBannerBitmap = 4;
constexpr int kLetteringBitmap = 5;
constexpr unsigned kLetteringTransparent = 0xFF00FF; // magenta, as 0x00BBGGRR
} // namespace zq
