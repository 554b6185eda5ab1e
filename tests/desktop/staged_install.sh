#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks every file lands in its place.
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
for f in bin/tessaro share/applications/tessaro.desktop \
         share/icons/hicolor/scalable/apps/tessaro.svg \
         share/metainfo/com.velmora.Tessaro.metainfo.xml share/man/man1/tessaro.1.gz \
         share/doc/tessaro/copyright share/doc/tessaro/changelog.gz; do
  [ -s "$stage/usr/$f" ] || { echo "missing: /usr/$f" >&2; exit 1; }
done
[ -x "$stage/usr/bin/tessaro" ] || { echo "not executable: /usr/bin/tessaro" >&2; exit 1; }
