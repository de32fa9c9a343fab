#!/usr/bin/env bash
# Runs the text-search benchmark under Wine, then times ripgrep and GNU grep natively on the same large files
# and prints each mode's time beside theirs, with the ratios; and checks that every mode listed the same files
# as grep on the ASCII corpus and as ripgrep on the UTF-16 one (ripgrep decodes a file by its mark, grep does
# not). The skip rules are off in the benchmark; -w counts "_" as a word character, which the corpus never holds.
#   bench/text/run.sh [build folder] [corpus folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x64}
corpus=${2:-/tmp/kvr-text-corpus}
if ! command -v rg >/dev/null; then
    echo "installing ripgrep ..."
    if [ "$(id -u)" = 0 ]; then apt-get install -y ripgrep >/dev/null; else sudo apt-get install -y ripgrep >/dev/null; fi
fi
mkdir -p "$corpus"
"$root/tools/wine-run" "$build/bench_text.exe" "Z:${corpus//\//\\}"

export LC_ALL=C
words=(zephyr quartz jumble fjord wyvern)
modes=(one-word five-words-any five-words-all one-word-case-insensitive one-word-whole-words)

# Lists the files among "$@" (files, or folders searched whole) that hold the mode's words, as the benchmark's
# mode does, with ripgrep (rg) or GNU grep (grep).
search() {
    local tool=$1 mode=$2
    shift 2
    local flags=(-l -F)
    if [ "$tool" = rg ]; then flags+=(-j1 --no-mmap); else flags+=(-r); fi
    local patterns=()
    for w in "${words[@]}"; do patterns+=(-e "$w"); done
    case $mode in
    one-word) "$tool" "${flags[@]}" -e "${words[0]}" "$@" || true ;;
    five-words-any) "$tool" "${flags[@]}" "${patterns[@]}" "$@" || true ;;
    five-words-all)  # each search narrows the list of the one before
        local files
        files=$("$tool" "${flags[@]}" -e "${words[0]}" "$@" || true)
        for w in "${words[@]:1}"; do
            [ -z "$files" ] && break
            files=$(printf '%s\n' "$files" | xargs -d '\n' "$tool" "${flags[@]}" -e "$w" || true)
        done
        if [ -n "$files" ]; then printf '%s\n' "$files"; fi ;;
    one-word-case-insensitive) "$tool" "${flags[@]}" -i -e "${words[0]}" "$@" || true ;;
    one-word-whole-words) "$tool" "${flags[@]}" -w -e "${words[0]}" "$@" || true ;;
    esac
}

# The best of three runs of "$@", in seconds.
best_of_3() {
    local best= start t
    for _ in 1 2 3; do
        start=$(date +%s.%N)
        "$@" >/dev/null
        t=$(echo "$(date +%s.%N) - $start" | bc)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

echo "the large file (best of 3): ours under Wine; rg -l -F -j1 --no-mmap and grep -l -F natively"
printf '  %-28s %8s %8s %8s %8s %9s\n' mode ours rg grep ours/rg ours/grep
for set in ascii utf16; do
    echo "$set"
    for mode in "${modes[@]}"; do
        ours=$(awk -v set="$set" -v mode="$mode" '$1 == set && $2 == "large" && $3 == mode { print $4 }' \
            "$corpus/times.txt")
        rg=$(best_of_3 search rg "$mode" "$corpus/$set/large.txt")
        grep=$(best_of_3 search grep "$mode" "$corpus/$set/large.txt")
        printf '  %-28s %7.3fs %7.3fs %7.3fs %7.2fx %8.2fx\n' "$mode" "$ours" "$rg" "$grep" \
            "$(echo "$ours / $rg" | bc -l)" "$(echo "$ours / $grep" | bc -l)"
    done
done

echo "the files listed in each mode: the ascii corpus against grep -r, the utf16 corpus against rg"
status=0
for set in ascii utf16; do
    tool=grep
    [ "$set" = utf16 ] && tool=rg
    for mode in "${modes[@]}"; do
        (cd "$corpus/$set" && search "$tool" "$mode" .) | sed 's|^\./||' | sort >"$corpus/$tool-$set-$mode.sorted"
        sort "$corpus/listed-$set-$mode.txt" >"$corpus/listed-$set-$mode.sorted"
        if cmp -s "$corpus/$tool-$set-$mode.sorted" "$corpus/listed-$set-$mode.sorted"; then
            same="same files as $tool's"
        else
            same="DIFFERENT files from $tool's"
            status=1
        fi
        printf '  %-6s %-28s %6d listed  %s\n' "$set" "$mode" "$(wc -l <"$corpus/listed-$set-$mode.sorted")" "$same"
    done
done
exit $status
