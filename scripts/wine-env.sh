# Wine settings for running the Windows build here. Source it:
#   . scripts/wine-env.sh            # sets WINEPREFIX and friends, creates the prefix once
#   wine_session_start / wine_session_stop   around a batch of wine runs
#
# The prefix lives in the Windows build folder, so a fresh clone builds its
# own and nothing outside the work tree is touched.

_wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$_wine_env_root/build/windows/wine-prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download
# them. No debugger either: a crashing program ends at once instead of waiting
# in a debugger that nobody attends.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}

# Creates the prefix once (about 15 s). Without a window manager Wine waits
# about 2 s on every window close unless its windows are unmanaged, and
# Debian's Wine does not find its own fonts unless they sit in the prefix.
wine_prefix_ready() {
  [[ -f $WINEPREFIX/.tracciato-ready ]] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -w
  touch "$WINEPREFIX/.tracciato-ready"
}

# Starts a persistent wineserver and Wine's background services up front, so
# later runs do not spawn them with a test's output pipes inherited (ctest
# would then wait for them).
wine_session_start() {
  wine_prefix_ready
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
