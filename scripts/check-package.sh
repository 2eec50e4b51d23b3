#!/usr/bin/env bash
# Checks the Debian package in dist/: lintian finds no error, the udev rule
# and the maintainer scripts are there (and do nothing without udev), the desktop
# entry and the metainfo validate, and the package unpacked into a scratch
# root (dpkg -x) starts offscreen from there, finds its installed dictionary
# and writes nothing into the folder it was started in.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarven_ensure_packages "${ZARVEN_PACKAGE_TOOLS[@]}"

deb=$(ls "$ZARVEN_ROOT"/dist/zarven4-config_*.deb | head -n 1)
echo "Package: $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb -f "$deb" Package Version Architecture Depends

echo "-- lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || { echo "lintian reports errors" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for f in usr/bin/zarven4-config usr/bin/zarven4-sim usr/share/zarven4-config/trans.dic \
         usr/share/applications/zarven4-config.desktop \
         usr/share/metainfo/org.example.zarven4_config.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/zarven4-config.svg \
         usr/share/icons/hicolor/48x48/apps/zarven4-config.png \
         usr/share/doc/zarven4-config/copyright usr/lib/udev/rules.d/70-zarven4-config.rules \
         usr/share/man/man1/zarven4-config.1.gz usr/share/man/man1/zarven4-sim.1.gz; do
    [ -e "$root/$f" ] || { echo "missing from the package: $f" >&2; exit 1; }
done

echo "-- udev rule and maintainer scripts"
control="$scratch/control"
dpkg-deb -e "$deb" "$control"
for script in postinst postrm; do
    [ -x "$control/$script" ] || { echo "missing maintainer script: $script" >&2; exit 1; }
    sh -n "$control/$script"
done
# Where udev does not run the scripts change nothing and succeed.
if [ ! -d /run/udev ]; then
    "$control/postinst" configure
    "$control/postrm" remove
fi

echo "-- desktop-file-validate"
desktop-file-validate "$share/applications/zarven4-config.desktop"
echo "-- appstreamcli validate"
appstreamcli validate --no-net "$share/metainfo/org.example.zarven4_config.metainfo.xml"

echo "-- start from the scratch root"
mkdir -p "$scratch/home" "$scratch/start"
export HOME="$scratch/home" XDG_DATA_HOME= XDG_DATA_DIRS=/nonexistent QT_QPA_PLATFORM=offscreen
cd "$scratch/start"
"$root/usr/bin/zarven4-config" --version
"$root/usr/bin/zarven4-config" --only-listed-ports --exit-when-shown
"$root/usr/bin/zarven4-sim" --help >/dev/null
folder="$HOME/.local/share/zarven4-config"
cmp "$folder/trans.dic" "$share/zarven4-config/trans.dic"
[ -f "$folder/log.log" ] || { echo "no log.log in $folder" >&2; exit 1; }
[ -z "$(ls -A "$scratch/start")" ] || { echo "files written into the start folder" >&2; exit 1; }
echo "Package checks passed"
