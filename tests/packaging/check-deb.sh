#!/usr/bin/env bash
# Builds the .deb with CPack and checks that its dependencies were computed
# from the binaries (dpkg-shlibdeps) and that it carries the program, the
# server, the desktop entry, the metainfo and the service unit.
set -euo pipefail
build_dir=$1
app_id=$2
rm -rf "$build_dir/package"
(cd "$build_dir" && cpack -G DEB > /dev/null)
deb=("$build_dir"/package/kestrel-radio_*.deb)
[ -f "${deb[0]}" ]

depends=$(dpkg-deb -f "${deb[0]}" Depends)
echo "Depends: $depends"
for library in libqt6svg6 qt6-wayland libmpv2 libcurl4 libqt6webenginecore6 libqt6widgets6 libqt6dbus6 libxcb1 libc6; do
  if ! grep -q "\b$library\b" <<< "$depends"; then
    echo "the computed dependencies miss $library"
    exit 1
  fi
done

contents=$(dpkg-deb -c "${deb[0]}")
for path in ./usr/bin/kestrel-radio ./usr/bin/kestrel-station-server \
    ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
    ./etc/kestrel-station-server/catalogue.txt ./etc/kestrel-station-server/sync.conf \
    ./lib/systemd/system/kestrel-station-server.service \
    ./lib/systemd/system/kestrel-station-server-sync.service ./lib/systemd/system/kestrel-station-server-sync.timer; do
  if ! grep -qF " $path" <<< "$contents"; then
    echo "the package lacks $path"
    exit 1
  fi
done
echo "package ${deb[0]} is complete"
