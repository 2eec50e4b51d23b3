#!/usr/bin/env bash
# Measures a series of controllers against the simulator; not a test.
#
#   scripts/series_benchmark.sh [BUILD_DIR] [SITES]
#
# Runs "zarven4-config provision" with the real timer intervals over SITES
# simulated controllers (default 20), keys included, once at the line's pace
# (--baud 38400) and once with bytes passing at once, and prints per unit:
# the time on the controller (unit_ms of the report: identification to the
# report row, the plug wait left out), the wire time (the difference of the
# two runs) and what remains beyond both. Run it under the build lock.
set -euo pipefail
build="${1:-$(dirname "${BASH_SOURCE[0]}")/../build-test}"
sites="${2:-20}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

series() { # baud -> mean unit_ms
    local baud=$1 dir
    dir=$(mktemp -d /tmp/zarven4-bench.XXXXXX)
    cp "$root/tests/data/original_layout.key" "$dir/keys.key"
    {
        echo "site;phone1;input1.message;keys"
        for n in $(seq "$sites"); do printf 'Кв. %d;+7916%07d;Дверь кв. %d;keys.key\n' "$n" "$n" "$n"; done
    } >"$dir/sites.csv"
    local pace=()
    [ "$baud" -gt 0 ] && pace=(--baud "$baud")
    "$build/zarven4-sim" --link "$dir/tty" "${pace[@]}" --unplug-idle 1500 --replug 300 --units "$sites" >/dev/null &
    local sim=$!
    local start end
    start=$(date +%s%N)
    "$build/zarven4-config" provision --template "$root/tests/data/settings_rich.cfg" --sites "$dir/sites.csv" \
        --report "$dir/report.csv" --port "$dir/tty" --workdir "$dir" >/dev/null || true
    end=$(date +%s%N)
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    awk -F';' -v total=$(( (end - start) / 1000000 )) -v n="$sites" 'NR > 1 {
            s += $10; ok += ($6 == "ok") }
        END { printf "%d %d %d\n", s / (NR - 1), ok, total / n }' "$dir/report.csv"
    rm -rf "$dir"
}

read -r paced ok_paced total_paced < <(series 38400)
read -r instant ok_instant total_instant < <(series 0)
echo "sites: $sites (ok at 38400: $ok_paced, ok instant: $ok_instant)"
echo "per unit at 38400 bit/s: ${paced} ms on the controller, ${total_paced} ms with the plug waits"
echo "per unit, bytes at once: ${instant} ms on the controller"
echo "wire time per unit: $((paced - instant)) ms; beyond the wire and the plug wait: ${instant} ms"
