#!/usr/bin/env bash
# Runs the text-search benchmark under Wine, then times grep -rlF natively over the same ASCII corpus and
# checks that every mode listed the same files as its grep equivalent (the skip rules are off in the
# benchmark; grep's -w counts "_" as a word character, which the corpus never holds).
#   bench/text/run.sh [build folder] [corpus folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x64}
corpus=${2:-/tmp/kvr-text-corpus}
mkdir -p "$corpus"
"$root/tools/wine-run" "$build/bench_text.exe" "Z:${corpus//\//\\}"

export LC_ALL=C
cd "$corpus/ascii"
words=(zephyr quartz jumble fjord wyvern)
patterns=()
for w in "${words[@]}"; do patterns+=(-e "$w"); done

all_words() {  # files holding every word: each grep narrows the list of the one before
    local files
    files=$(grep -rlF "${words[0]}" .)
    for w in "${words[@]:1}"; do
        [ -z "$files" ] && break
        files=$(printf '%s\n' "$files" | xargs grep -lF "$w" || true)
    done
    [ -n "$files" ] && printf '%s\n' "$files"
    return 0
}

declare -A commands=(
    [one-word]="grep -rlF ${words[0]} ."
    [five-words-any]="grep -rlF ${patterns[*]} ."
    [five-words-all]="all_words"
    [one-word-case-insensitive]="grep -rliF ${words[0]} ."
    [one-word-whole-words]="grep -rlwF ${words[0]} ."
)
echo "grep -rlF natively on the ascii corpus (best of 3)"
status=0
for mode in one-word five-words-any five-words-all one-word-case-insensitive one-word-whole-words; do
    best=
    for _ in 1 2 3; do
        start=$(date +%s.%N)
        eval "${commands[$mode]}" > "$corpus/grep-$mode.txt" || true
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
    done
    sed 's|^\./||' "$corpus/grep-$mode.txt" | sort > "$corpus/grep-$mode.sorted"
    sort "$corpus/listed-$mode.txt" > "$corpus/listed-$mode.sorted"
    if cmp -s "$corpus/grep-$mode.sorted" "$corpus/listed-$mode.sorted"; then same="same files as ours"; else
        same="DIFFERENT files from ours"; status=1; fi
    printf '  %-28s %8.3f s  %6d listed  %s\n' "$mode" "$best" "$(wc -l < "$corpus/grep-$mode.sorted")" "$same"
done
exit $status
