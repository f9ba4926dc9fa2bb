#pragma once
// Resource identifiers of the resource script (res/zentiq.rc.in).
namespace zq {
// The first icon, 32 by 32 and 16 by 16: the toolkit's windows show it (kProgramIcon), the plain
// tray icon at the shell's small-icon size.
constexpr int kMainIcon = 1;
constexpr int kTrayIcon16 = 3; // the text tray icon's picture, 16 by 16, 16 colours
// Pictures of the About box (res/make_pictures.py): the maker's banner for the black panel,
// 212 by 56; the product's name as lettering, 117 by 54, transparent where the pixels are
// kLetteringTransparent.
constexpr int kBannerBitmap = 4;
constexpr int kLetteringBitmap = 5;
constexpr unsigned kLetteringTransparent = 0xFF00FF; // magenta, as 0x00BBGGRR
} // namespace zq
