#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on a corpus seeded from
# fuzz/seeds, the command-line cases and the examples. Every input that once failed, kept
# under fuzz/regressions/<target>/, is replayed first. Any finding fails the step; the
# failing input is kept under build/fuzz/artifacts/.
source "$(dirname "$0")/../lib/common.sh"
ensure_packages clang libclang-rt-dev cmake ninja-build

seconds="${VANTREL_FUZZ_SECONDS:-60}"
build="$VANTREL_ROOT/build/fuzz"
CC=clang CXX=clang++ cmake -S "$VANTREL_ROOT" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON -DVANTREL_TESTS=OFF >/dev/null
targets=(fuzz_json_roundtrip fuzz_pipeline fuzz_readers)
cmake --build "$build" -j "$VANTREL_JOBS" --target "${targets[@]}"

seed_corpus() {
    local corpus="$1"
    mkdir -p "$corpus"
    local seed
    for seed in "$VANTREL_ROOT"/fuzz/seeds/* "$VANTREL_ROOT"/tests/cli/cases/*/files/*.json \
                "$VANTREL_ROOT"/tests/cli/cases/*/stdin; do
        [ -f "$seed" ] && cp "$seed" "$corpus/seed-$(sha1sum < "$seed" | cut -c1-16)"
    done
    while IFS= read -r -d '' seed; do
        cp "$seed" "$corpus/seed-$(sha1sum < "$seed" | cut -c1-16)"
    done < <(find "$VANTREL_ROOT/examples" -name '*.json' -print0 2>/dev/null)
}

status=0
for target in "${targets[@]}"; do
    program="$build/fuzz/$target"
    regressions="$VANTREL_ROOT/fuzz/regressions/$target"
    if compgen -G "$regressions/*" >/dev/null; then
        log "$target: replaying $(ls "$regressions" | wc -l) regression inputs"
        "$program" -rss_limit_mb=4096 "$regressions"/* 2>"$build/$target-replay.log" \
            || { tail -n 40 "$build/$target-replay.log" >&2; status=1; continue; }
    fi
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    seed_corpus "$corpus"
    mkdir -p "$artifacts"
    log "$target: fuzzing for $seconds s"
    if ! "$program" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
            -dict="$VANTREL_ROOT/fuzz/vantrel.dict" -artifact_prefix="$artifacts" \
            -print_final_stats=1 "$corpus" 2>"$build/$target.log"; then
        tail -n 60 "$build/$target.log" >&2
        log "$target: finding kept in $artifacts"
        status=1
    else
        grep -E '^(stat::number_of_executed_units|#[0-9]+ +DONE)' "$build/$target.log" >&2 || true
    fi
done
exit $status
