#!/usr/bin/env bash
# Renders the application icon's PNG sizes from packaging/zarven4-config.svg
# (the PNGs are kept in the tree, so building needs no SVG renderer).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages librsvg2-bin
for size in 48 128; do
    rsvg-convert -w "$size" -h "$size" "$ZARVEN_ROOT/packaging/zarven4-config.svg" \
        -o "$ZARVEN_ROOT/packaging/zarven4-config-$size.png"
done
