#!/usr/bin/env bash
# Reruns the operating-system tests of win32_tests.exe with the Wine prefix switched to other
# Windows versions (among them the name that a program with zentiq.exe's manifest reads), then
# switches it back to Windows XP. Prints the GoogleTest output of each run; the exit status is
# non-zero when any run fails.
#
#   scripts/lib/sysinfo_versions.sh path/to/win32_tests.exe [version...]
#
# Versions are Wine's names (default: win2k winxp win7 win10). Uses the caller's WINEPREFIX and
# DISPLAY when set, otherwise the project's own prefix and a private Xvfb.
set -uo pipefail
exe=${1:?usage: sysinfo_versions.sh path/to/win32_tests.exe [version...]}
shift
versions=("$@")
[ ${#versions[@]} -eq 0 ] && versions=(win2k winxp win7 win10)

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  . "$(dirname "${BASH_SOURCE[0]}")/common.sh"
  [ -n "${DISPLAY:-}" ] || zq_start_xvfb
  [ -n "${WINEPREFIX:-}" ] || zq_wine_prefix
fi

expected_name() {
  case $1 in
    win95) echo "Windows 95" ;;
    win98) echo "Windows 98SE" ;; # Wine's 98 reports the service-pack letter A
    winme) echo "Windows ME" ;;
    nt40) echo "Windows NT4" ;;
    win2k) echo "Windows 2000" ;;
    winxp | winxp64) echo "Windows XP" ;; # a 64-bit prefix reports XP's x64 edition, 5.2
    win2003) echo "Windows Server 2003" ;;
    vista) echo "Windows Vista" ;;
    win2008) echo "Windows Server 2008" ;;
    # Wine 8 reports its Windows 7 with the server product type and its Server 2008 R2 with the
    # workstation one.
    win7) echo "Windows Server 2008 R2" ;;
    win2008r2) echo "Windows 7" ;;
    win8) echo "Windows 8" ;;
    win81) echo "Windows 8.1" ;;
    win10) echo "Windows 10" ;;
    win11) echo "Windows 11" ;;
    *) echo "(no name known for Wine's $1)" ;;
  esac
}

set_version() {
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
  wineserver -w
}

trap 'set_version winxp' EXIT
status=0
for version in "${versions[@]}"; do
  echo "== Windows version $version"
  set_version "$version"
  ZQ_EXPECT_OS_NAME=$(expected_name "$version") wine "$exe" --gtest_filter='OsVersion.*' ||
    status=1
done
exit $status
