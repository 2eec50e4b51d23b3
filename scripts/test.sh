#!/usr/bin/env bash
# Builds the tool, the simulator and the tests, runs the whole suite with
# CTest, then builds and runs it again with AddressSanitizer and
# UndefinedBehaviorSanitizer, and last builds the Debian package and checks
# it. Installs missing Debian packages when run as root.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages "${ZARVEN_PACKAGES[@]}" "${ZARVEN_PACKAGE_TOOLS[@]}"

cd "$ZARVEN_ROOT"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (warnings are errors)"
zarven_build build-test -DCMAKE_BUILD_TYPE=Debug -DZARVEN_WERROR=ON
(cd build-test && ctest --output-on-failure --timeout 300)

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
zarven_build build-asan -DCMAKE_BUILD_TYPE=Debug -DZARVEN_SANITIZE=ON -DZARVEN_WERROR=ON
(cd build-asan && ctest --output-on-failure --timeout 600)

echo "== Debian package: build and check"
bash scripts/package.sh
bash scripts/check-package.sh
