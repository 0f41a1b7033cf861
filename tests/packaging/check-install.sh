#!/usr/bin/env bash
# Installs the build under a fresh prefix and checks what the desktop and
# the software centres read: every file in its place, the desktop entry and
# the AppStream metainfo valid by their own validators and named after the
# application id (the second argument).
set -euo pipefail
build_dir=$1
app_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" > /dev/null

missing=0
for path in \
    bin/kestrel-radio bin/kestrel-station-server \
    lib/kestrel-radio/libkestrel-webengine.so lib/kestrel-radio/libkestrel-mpv.so \
    share/applications/$app_id.desktop \
    share/metainfo/$app_id.metainfo.xml \
    share/icons/hicolor/scalable/apps/kestrel-radio.svg \
    share/icons/hicolor/16x16/apps/kestrel-radio.png \
    share/icons/hicolor/48x48/apps/kestrel-radio.png \
    share/icons/hicolor/256x256/apps/kestrel-radio.png \
    etc/kestrel-station-server/catalogue.txt \
    share/kestrel-station-server/media/kestrel-mp3.mp3 \
    etc/kestrel-station-server/sync.conf \
    lib/systemd/system/kestrel-station-server.service \
    lib/systemd/system/kestrel-station-server-sync.service \
    lib/systemd/system/kestrel-station-server-sync.timer; do
  if [ ! -e "$prefix/$path" ]; then
    echo "missing after install: $path"
    missing=1
  fi
done
[ $missing -eq 0 ]

# A 48 x 48 icon really is 48 x 48.
identify -format '%wx%h\n' "$prefix/share/icons/hicolor/48x48/apps/kestrel-radio.png" | grep -qx 48x48

# The unit names the installed paths under this prefix.
grep -q "^ExecStart=$prefix/bin/kestrel-station-server --catalogue $prefix/etc/kestrel-station-server/catalogue.txt " \
  "$prefix/lib/systemd/system/kestrel-station-server.service"

# The sync's unit names them too, and writes only beside the catalogue.
grep -q "^ExecStart=$prefix/bin/kestrel-station-server sync --config $prefix/etc/kestrel-station-server/sync.conf --catalogue $prefix/etc/kestrel-station-server/catalogue.txt " \
  "$prefix/lib/systemd/system/kestrel-station-server-sync.service"
grep -qx "ReadWritePaths=$prefix/etc/kestrel-station-server" "$prefix/lib/systemd/system/kestrel-station-server-sync.service"

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
[ ${#metainfo[@]} -eq 1 ] && [ -f "${metainfo[0]}" ]
appstreamcli validate --no-net "${metainfo[0]}"
# The component and the entry it launches carry the same id.
grep -qF "<id>$app_id</id>" "${metainfo[0]}"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "${metainfo[0]}"

# The installed program answers without a display.
"$prefix/bin/kestrel-radio" --version | grep -q '^Kestrel Radio '
echo "installed and valid under $prefix"
