#!/usr/bin/env bash
# Takes the README's screenshots of the window, in Russian and in English,
# under a virtual display. Needs xvfb, xdotool and imagemagick:
#   apt-get install -y xvfb xauth xdotool imagemagick
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_build "$ZARVEN_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
"$ZARVEN_ROOT/build/zarven4-config" --only-listed-ports --workdir "$work" &
pid=$!
sleep 2
out="$ZARVEN_ROOT/docs"
# The window sits at 177, 29 with its menu bar on top (no window manager).
import -window root -crop 933x690+177+29 "$out/window-ru.png"
xdotool mousemove 520 37 click 1
sleep 0.5
xdotool mousemove 540 82 click 1
sleep 1
import -window root -crop 933x690+177+29 "$out/window-en.png"
echo "Wrote $out/window-ru.png and $out/window-en.png"
