#!/usr/bin/env bash
# Builds and runs one libFuzzer target: fuzz/run.sh NAME [SECONDS]
#   NAME     builds fuzz/NAME_fuzz.cpp; its first line lists the sources it needs:
#            "// sources: aprs/a.cpp feeds/b.cpp" (paths from the repository root);
#            an optional line "// pkg-config: Qt6Core" adds compile and link flags.
#   SECONDS  how long to fuzz (default 60).
# Starts from the saved corpus fuzz/corpus/NAME/ and, at the end, merges what was
# new into it (kept minimal). Crashes land in fuzz/out/NAME/ with a reproducer.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: fuzz/run.sh NAME [SECONDS]}
seconds=${2:-60}
source_file=fuzz/${name}_fuzz.cpp
[ -f "$source_file" ] || { echo "no fuzz target $source_file" >&2; exit 1; }

sources=$(sed -n 's|^// sources:||p' "$source_file" | head -1)
packages=$(sed -n 's|^// pkg-config:||p' "$source_file" | head -1)
flags=()
if [ -n "$packages" ]; then
  read -r -a flags <<< "$(pkg-config --cflags --libs $packages)"
fi

out=fuzz/out/$name
corpus=fuzz/corpus/$name
mkdir -p "$out/new" "$corpus"
# shellcheck disable=SC2086
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I. "$source_file" $sources "${flags[@]}" -o "$out/${name}_fuzz"

dictionary=()
[ -f "fuzz/$name.dict" ] && dictionary=(-dict="fuzz/$name.dict")
echo "fuzzing $name for $seconds s" >&2
"$out/${name}_fuzz" "${dictionary[@]}" -max_total_time="$seconds" -max_len=512 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/new" "$corpus"
"$out/${name}_fuzz" -merge=1 "$corpus" "$out/new" 2>"$out/merge.log"
echo "corpus $corpus: $(ls "$corpus" | wc -l) files" >&2
