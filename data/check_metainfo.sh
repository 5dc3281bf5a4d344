#!/bin/sh
# check_metainfo.sh CMAKE BUILD_DIR SCRATCH_PREFIX
# Installs into a scratch prefix and validates its AppStream metadata and
# desktop entry as software centres will, without the network.
# Exits 77 (skipped) where appstreamcli is not installed.
command -v appstreamcli >/dev/null || exit 77
rm -rf "$3"
"$1" --install "$2" --prefix "$3" >/dev/null || exit 1
appstreamcli validate-tree --no-net --pedantic "$3"
status=$?
rm -rf "$3"
exit $status
