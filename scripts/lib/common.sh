# Shared by scripts/run and scripts/test: build folders, the X display and the Wine prefix.
ZQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ZQ_BUILD=$ZQ_ROOT/build

zq_configure_build() { # preset [targets...]
  local preset=$1; shift
  cmake --preset "$preset" >"$ZQ_BUILD/configure-$preset.log" 2>&1 ||
    { cat "$ZQ_BUILD/configure-$preset.log"; return 1; }
  cmake --build "$ZQ_BUILD/$preset" "$@"
}

# Starts a private Xvfb whose screen is exactly the Wine desktop (800 by 600).
zq_start_xvfb() {
  if [ -n "${ZQ_XVFB_PID:-}" ]; then return 0; fi
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
    ZQ_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    trap zq_cleanup EXIT
    return 0
  done
  echo "no free X display" >&2
  return 1
}

zq_cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${ZQ_XVFB_PID:-}" ]; then kill "$ZQ_XVFB_PID" 2>/dev/null || true; fi
}

# Which Wine loader runs here. Windows programs run as the 32-bit programs users get; where the
# kernel runs only 64-bit code (IA-32 emulation off), Wine cannot start a 32-bit program, so
# they run as 64-bit builds of the same sources. Sets ZQ_WINE_BITS (32 or 64) and ZQ_WIN_PRESET
# and ZQ_RELEASE_PRESET, the presets whose programs run here; fails with a reason where neither
# loader starts.
zq_wine_loader() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export ZQ_WINE_BITS=32 ZQ_WIN_PRESET=win32 ZQ_RELEASE_PRESET=release
  elif /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    export ZQ_WINE_BITS=64 ZQ_WIN_PRESET=win64 ZQ_RELEASE_PRESET=release64
    # `wine` starts the 32-bit loader whenever that is installed; this one starts the 64-bit one.
    local bin=$ZQ_BUILD/wine64-bin
    mkdir -p "$bin"
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$bin/wine"
    chmod +x "$bin/wine"
    case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
  else
    echo "this machine cannot start Wine's loader (see dmesg), so no Windows program can run here" >&2
    return 1
  fi
}

# A Wine prefix of our own for that loader: Windows XP, a virtual desktop with a taskbar.
zq_wine_prefix() {
  zq_wine_loader || return 1
  if [ "$ZQ_WINE_BITS" = 32 ]; then
    export WINEARCH=win32 WINEPREFIX=${ZQ_WINEPREFIX:-$ZQ_BUILD/wineprefix}
  else
    export WINEARCH=win64 WINEPREFIX=${ZQ_WINEPREFIX:-$ZQ_BUILD/wineprefix64}
  fi
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.zentiq-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    if [ "$ZQ_WINE_BITS" = 64 ]; then
      # Wine's 64-bit loader looks for its own fonts in the wrong folder and would give "MS Sans
      # Serif" a TrueType stand-in; the prefix's font folder is searched first.
      ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    touch "$WINEPREFIX/.zentiq-ready"
  fi
}
