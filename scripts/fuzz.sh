#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60),
# starting from its seed corpus in tests/fuzz/corpus/<target>/. New inputs
# the fuzzer finds go to build-fuzz/corpus/<target>/, never into the source
# tree; a failing input is saved in build-fuzz/ as crash-* (add it to the
# seed corpus once the fault is fixed). Installs missing Debian packages
# when run as root.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Extra libFuzzer options can be given in ZARVEN_FUZZ_OPTIONS, for example
# ZARVEN_FUZZ_OPTIONS="-jobs=2 -workers=2".
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages "${ZARVEN_PACKAGES[@]}" "${ZARVEN_FUZZ_PACKAGES[@]}"

seconds="${1:-60}"
shift || true
cd "$ZARVEN_ROOT"
export QT_QPA_PLATFORM=offscreen

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Warnings do not stop this build: the g++ builds of scripts/test.sh gate
# on them, and a clang-only warning must not keep the fuzzers from running.
CXX=clang++-14 zarven_build build-fuzz --target zarven_fuzzers -- \
    -DCMAKE_BUILD_TYPE=Debug -DZARVEN_FUZZ=ON "${launcher[@]}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in build-fuzz/tests/fuzz/fuzz_*; do
        [ -f "$exe" ] && [ -x "$exe" ] || continue
        targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
    done
fi
for target in "${targets[@]}"; do
    echo "== fuzz_$target for ${seconds}s"
    mkdir -p "build-fuzz/corpus/$target"
    # Qt keeps caches for the process's life, which the leak checks would
    # report, so only the byte-level targets check for leaks. Allocation
    # stacks are left out of reports for speed (every input allocates
    # much); replay a saved input in the sanitizer build for them.
    leaks=1
    case "$target" in settings_image|config_file) leaks=0 ;; esac
    # shellcheck disable=SC2086
    (cd build-fuzz && ASAN_OPTIONS="detect_leaks=$leaks:malloc_context_size=0" \
        "tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -detect_leaks="$leaks" -timeout=10 -rss_limit_mb=2048 ${ZARVEN_FUZZ_OPTIONS:-} \
        "corpus/$target" "$ZARVEN_ROOT/tests/fuzz/corpus/$target")
done
