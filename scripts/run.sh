#!/usr/bin/env bash
# Builds the tool if needed and opens its window.
#
#   scripts/run.sh [--real] [zarven4-config options...]
#
# By default the controller simulator is started on a pseudo-terminal and its
# port is added to the window's port list, so "Соединить" finds a controller
# at once. The simulator's port is reached through a link under /tmp, whose
# name sorts after the machine's own /dev ports: a real controller on one of
# those is always tried first and is never shadowed by the simulator.
# --real leaves the simulator out: the window lists the machine's own ports.
#
#   scripts/run.sh --series [N]
#
# A series of N controllers (default 20) written in the terminal, no window:
# the simulator plays one controller after another on the link at the line's
# pace (38400 bit/s), and "zarven4-config provision" writes a demo template
# with one row of a generated sites table each, the keys included, verifies
# them and keeps a report, all in a fresh folder under /tmp.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

use_sim=1
series=0
args=()
for a in "$@"; do
    case "$a" in
        --real) use_sim=0 ;;
        --series) series=20 ;;
        *) if [ "$series" -gt 0 ] && [[ "$a" =~ ^[0-9]+$ ]]; then series="$a"; else args+=("$a"); fi ;;
    esac
done

zarven_ensure_packages "${ZARVEN_PACKAGES[@]}"
zarven_build "$ZARVEN_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ "$series" -gt 0 ]; then
    demo=$(mktemp -d /tmp/zarven4-series.XXXXXX)
    cp "$ZARVEN_ROOT/tests/data/settings_rich.cfg" "$demo/template.cfg"
    cp "$ZARVEN_ROOT/tests/data/original_layout.key" "$demo/keys.key"
    {
        echo "site;phone1;input1.message;sensor1.min;keys"
        for n in $(seq "$series"); do
            printf 'Кв. %d;+7916%07d;Дверь кв. %d;5;keys.key\n' "$n" "$n" "$n"
        done
    } >"$demo/sites.csv"
    link="$demo/ttySERIES"
    "$ZARVEN_ROOT/build/zarven4-sim" --link "$link" --baud 38400 --unplug-idle 1500 --replug 1000 \
        --units "$series" >/dev/null &
    sim_pid=$!
    trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
    echo "Series of $series simulated controllers in $demo"
    status=0
    "$ZARVEN_ROOT/build/zarven4-config" provision --template "$demo/template.cfg" --sites "$demo/sites.csv" \
        --report "$demo/report.csv" --port "$link" --workdir "$demo" "${args[@]}" || status=$?
    echo "Report: $demo/report.csv"
    exit "$status"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: the window needs a graphical session (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
    echo "Run it from a desktop session, or under a virtual display: xvfb-run scripts/run.sh" >&2
    exit 1
fi

sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT

if [ "$use_sim" -eq 1 ]; then
    state_dir="${XDG_STATE_HOME:-$HOME/.local/state}/zarven4-sim"
    link_dir="/tmp/zarven4-sim-$(id -u)"
    mkdir -p "$state_dir" "$link_dir"
    link="$link_dir/ttySIM"
    out=$(mktemp)
    "$ZARVEN_ROOT/build/zarven4-sim" --state "$state_dir/state" --link "$link" >"$out" &
    sim_pid=$!
    device=""
    for _ in $(seq 100); do
        device=$(head -n 1 "$out")
        [ -n "$device" ] && break
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$out"
    [ -n "$device" ] || { echo "The simulator did not start." >&2; exit 1; }
    echo "Simulated controller on $device (port $link)"
    args=(--port "$link" "${args[@]}")
fi

"$ZARVEN_ROOT/build/zarven4-config" "${args[@]}"
