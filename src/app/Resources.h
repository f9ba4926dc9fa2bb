#pragma once
// Resource identifiers of zentiq.rc.
namespace zq {
constexpr int kMainIcon = 1;
constexpr int kTrayIcon32 = 2; // the plain tray icon's picture, 32 by 32, 16 colours
constexpr int kTrayIcon16 = 3; // the text tray icon's picture, 16 by 16, 16 colours
} // namespace zq
