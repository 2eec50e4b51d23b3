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
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

use_sim=1
args=()
for a in "$@"; do
    case "$a" in
        --real) use_sim=0 ;;
        *) args+=("$a") ;;
    esac
done

zarven_ensure_packages "${ZARVEN_PACKAGES[@]}"
zarven_build "$ZARVEN_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

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
