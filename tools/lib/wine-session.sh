# Sourced by tools/test, tools/run and tools/wine-run: one throwaway Wine prefix and HOME, a persistent
# wineserver and, when there is no display (or KVR_XVFB=1), an Xvfb display; all stopped by wine_session_stop.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

wine_session_start() {
    KVR_SESSION_XVFB_PID=""
    if [ -z "${DISPLAY:-}" ] || [ "${KVR_XVFB:-0}" = 1 ]; then
        local n
        for n in $(seq 90 190); do
            [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
        done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        KVR_SESSION_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    KVR_SESSION_PREFIX=$(mktemp -d /tmp/kvr-wineprefix.XXXXXX)
    KVR_SESSION_HOME=$(mktemp -d /tmp/kvr-home.XXXXXX)
    export WINEPREFIX="$KVR_SESSION_PREFIX" HOME="$KVR_SESSION_HOME"
    export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$WINESERVER" -p
    "$WINE64" wineboot -i >/dev/null 2>&1
    # The tests and the program expect the version this prefix is made to report.
    "$WINE64" reg add 'HKCU\Software\Wine' /v Version /d win7 /f >/dev/null 2>&1
    # Unmanaged windows: with no window manager on Xvfb, Wine waits about 2 s whenever a managed window hides.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    export KVR_WINE_SESSION=1
}

wine_session_stop() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -n "${KVR_SESSION_XVFB_PID:-}" ] && kill "$KVR_SESSION_XVFB_PID" 2>/dev/null
    [ -n "${KVR_SESSION_PREFIX:-}" ] && rm -rf "$KVR_SESSION_PREFIX"
    [ -n "${KVR_SESSION_HOME:-}" ] && rm -rf "$KVR_SESSION_HOME"
    return 0
}
