#!/usr/bin/env bash
# Builds the Debian package from a clean Release build tree (build-package)
# into dist/: the program, the simulator, the dictionary, the desktop entry,
# the icon, the metainfo and the user guide, with dependencies computed from
# the shared libraries. Extra arguments go to cmake (a compiler launcher,
# say). Installs missing Debian packages when run as root.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages "${ZARVEN_PACKAGES[@]}" "${ZARVEN_PACKAGE_TOOLS[@]}"

dir="$ZARVEN_ROOT/build-package"
rm -rf "$dir"
rm -f "$ZARVEN_ROOT"/dist/zarven4-config_*.deb
# Debian's hardening flags; no tests, and no look into the source tree.
cmake -S "$ZARVEN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DZARVEN_BUILD_TESTS=OFF -DZARVEN_SOURCE_DATA=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB -B "$ZARVEN_ROOT/dist" >/dev/null)
rm -rf "$ZARVEN_ROOT/dist/_CPack_Packages"
ls "$ZARVEN_ROOT"/dist/zarven4-config_*.deb
