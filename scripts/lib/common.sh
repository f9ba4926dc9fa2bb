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

# A Wine prefix of our own: 32-bit, Windows XP, a virtual desktop with a taskbar.
# Fails with a reason where the kernel cannot start Wine's 32-bit loader.
zq_wine_prefix() {
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine cannot start Wine's 32-bit loader (is IA-32 emulation off in its" \
      "kernel? see dmesg), so no Windows program can run here" >&2
    return 1
  fi
  export WINEPREFIX=${ZQ_WINEPREFIX:-$ZQ_BUILD/wineprefix}
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.zentiq-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.zentiq-ready"
  fi
}
