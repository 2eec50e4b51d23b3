#!/usr/bin/env bash
# Takes the pictures of the README and of the user guide, in Russian and in
# English, under a virtual X display: the real window, its message boxes and
# the simulated controller (tests/tools/guide_screenshots.cpp).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages "${ZARVEN_PACKAGES[@]}" xvfb xauth

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

build="${ZARVEN_SCREENSHOT_BUILD:-$ZARVEN_ROOT/build}"
zarven_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target guide_screenshots >/dev/null
mkdir -p "$ZARVEN_ROOT/docs/guide"
for lang in ru en; do
    "$build/tests/guide_screenshots" "$ZARVEN_ROOT/docs" "$lang"
done
