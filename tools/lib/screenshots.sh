# Sourced by the screenshot scripts: builds the UI test program, runs some of its tests under Xvfb with
# KVR_SHOT_DIR set, and takes the pictures the tests hand over (tests/ui/Screenshots.h).

# take_screenshots <gtest filter> <count> <picture path without the number and .png>
take_screenshots() {
    local filter=$1 count=$2 prefix=$3
    "$root/tools/setup"
    cmake -S "$root" -B "$build/x64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
    cmake --build "$build/x64" --target test_ui -j "$(nproc)"

    . "$root/tools/lib/wine-session.sh"
    export KVR_XVFB=1
    # The window shows dates and sizes in US English formats; Wine takes its locale from these.
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    wine_session_start
    handshake=$(mktemp -d /tmp/kvr-shots.XXXXXX)
    trap 'wine_session_stop; rm -rf "$handshake"' EXIT
    trap "exit 1" INT TERM HUP PIPE  # so the EXIT trap also runs when the run is interrupted
    mkdir -p "$(dirname "$prefix")"
    rm -f "$prefix"-*.png

    # The test writes shot-N.ready holding the screen rectangle to keep (WxH+X+Y) when it is drawn, and goes on
    # once shot-N.done exists.
    export KVR_SHOT_DIR="Z:${handshake//\//\\}"
    "$WINE64" "$build/x64/test_ui.exe" --gtest_also_run_disabled_tests --gtest_filter="$filter" \
        >"$handshake/demo.log" 2>&1 &
    local demo=$! taken=0 ready shot
    # The pictures come in the order the tests run, which need not be their numbers' order.
    while [ "$taken" -lt "$count" ]; do
        ready=""
        for _ in $(seq 1 600); do
            for ready in "$handshake"/shot-*.ready; do
                [ -e "$ready" ] && [ ! -e "${ready%.ready}.done" ] && break 2
            done
            ready=""
            kill -0 "$demo" 2>/dev/null || { cat "$handshake/demo.log" >&2; echo "screenshots: the tests ended early" >&2; exit 1; }
            sleep 0.1
        done
        [ -n "$ready" ] || { echo "screenshots: no picture came after $taken" >&2; exit 1; }
        shot=$(basename "$ready" .ready)
        shot=${shot#shot-}
        sleep 0.3  # let the X server finish drawing
        import -window root -crop "$(cat "$ready")" +repage "$prefix-$shot.png"
        touch "${ready%.ready}.done"
        taken=$((taken + 1))
        echo "screenshots: $prefix-$shot.png"
    done
    wait "$demo" || { cat "$handshake/demo.log" >&2; echo "screenshots: the tests failed" >&2; exit 1; }
}
