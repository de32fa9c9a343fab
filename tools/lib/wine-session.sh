# Sourced by tools/test, tools/run and tools/wine-run: one throwaway Wine prefix and HOME, a persistent
# wineserver and, when there is no display (or KVR_XVFB=1), an Xvfb display; all stopped by wine_session_stop.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

wine_session_start() {
    KVR_SESSION_XVFB_PID=""
    if [ -z "${DISPLAY:-}" ] || [ "${KVR_XVFB:-0}" = 1 ]; then
        # Xvfb picks a free display itself and says which once it takes connections: several sessions
        # starting at once on a shared machine never race for the same number.
        local numberFile n i
        numberFile=$(mktemp /tmp/kvr-display.XXXXXX)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
        KVR_SESSION_XVFB_PID=$!
        for i in $(seq 1 100); do
            n=$(tr -dc 0-9 <"$numberFile")
            [ -n "$n" ] && break
            sleep 0.1
        done
        rm -f "$numberFile"
        export DISPLAY=":$n"
    fi
    KVR_SESSION_PREFIX=$(mktemp -d /tmp/kvr-wineprefix.XXXXXX)
    KVR_SESSION_HOME=$(mktemp -d /tmp/kvr-home.XXXXXX)
    export WINEPREFIX="$KVR_SESSION_PREFIX" HOME="$KVR_SESSION_HOME"
    export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$WINESERVER" -p
    "$WINE64" wineboot -i >/dev/null 2>&1
    # Wine's own fonts (fonts-wine): Marlett draws the caption buttons, Tahoma is the face of the dialogs. This
    # Wine does not load the folder the package puts them in, only the prefix's font folder and the system's.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Drive Q: without a medium: listed, but not ready.
    ln -sfn /nonexistent-kvr-medium "$WINEPREFIX/dosdevices/q:"
    # Drive N: a network drive (DRIVE_REMOTE) over an empty folder. Wine takes a drive's type
    # from the mount manager's registry key, unless the folder's file system decides it (tmpfs makes a RAM
    # disk, NFS or SMB a network drive), so the folder must not lie on tmpfs.
    KVR_SESSION_NETWORK="$WINEPREFIX/kvr-network"
    if [ "$(stat -f -c %T "$WINEPREFIX")" = tmpfs ]; then
        KVR_SESSION_NETWORK=$(mktemp -d /var/tmp/kvr-network.XXXXXX)
    fi
    mkdir -p "$KVR_SESSION_NETWORK"
    if [ "$(stat -f -c %T "$KVR_SESSION_NETWORK")" = tmpfs ]; then
        echo "wine-session: $KVR_SESSION_NETWORK is on tmpfs, so N: will not be a network drive" >&2
    fi
    ln -sfn "$KVR_SESSION_NETWORK" "$WINEPREFIX/dosdevices/n:"
    "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
    # The mount manager learns the drives when it starts (during wineboot): restart the session so it sees Q:
    # and N:.
    # The next Wine process starts the services again; it must be one whose output goes nowhere, or they
    # inherit its pipes and a caller reading them (ctest) never sees them close.
    "$WINESERVER" -k
    "$WINESERVER" -w
    "$WINESERVER" -p
    # The tests and the program expect Windows 7 (6.1.7601 SP1, a workstation). Wine's own "win7" setting
    # reports a server product type (Wine 8.0), so the version comes from the system's registry keys instead.
    cat >"$WINEPREFIX/kvr-version.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"CurrentVersion"="6.1"
"CurrentBuildNumber"="7601"
"CSDVersion"="Service Pack 1"
"CurrentMajorVersionNumber"=-
"CurrentMinorVersionNumber"=-

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions]
"ProductType"="WinNT"
REG
    "$WINE64" reg import "$WINEPREFIX/kvr-version.reg" >/dev/null 2>&1
    # Unmanaged windows: with no window manager on Xvfb, Wine waits about 2 s whenever a managed window hides.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    export KVR_WINE_SESSION=1
}

wine_session_stop() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -n "${KVR_SESSION_XVFB_PID:-}" ] && kill "$KVR_SESSION_XVFB_PID" 2>/dev/null
    [ -n "${KVR_SESSION_PREFIX:-}" ] && rm -rf "$KVR_SESSION_PREFIX"
    [ -n "${KVR_SESSION_HOME:-}" ] && rm -rf "$KVR_SESSION_HOME"
    [ -n "${KVR_SESSION_NETWORK:-}" ] && rm -rf "$KVR_SESSION_NETWORK"
    return 0
}
