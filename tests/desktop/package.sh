#!/usr/bin/env bash
# Makes the .deb from the build folder as `make package` does and checks what a user would
# install: library dependencies found by shlibdeps, every file in its place, and a program
# that runs.
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  exit 1
fi
debs=("$scratch"/out/tessaro_*.deb)
[ -f "${debs[0]}" ] || { echo "no .deb in $scratch/out" >&2; exit 1; }
deb="${debs[0]}"

[ "$(dpkg-deb -f "$deb" Package)" = tessaro ] || { echo "wrong package name" >&2; exit 1; }
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libgif libc6; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends" >&2; exit 1; }
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for f in bin/tessaro share/applications/tessaro.desktop \
         share/icons/hicolor/scalable/apps/tessaro.svg \
         share/metainfo/com.velmora.Tessaro.metainfo.xml share/man/man1/tessaro.1.gz \
         share/doc/tessaro/copyright share/doc/tessaro/changelog.gz; do
  [ -s "$root/usr/$f" ] || { echo "missing from the package: /usr/$f" >&2; exit 1; }
done
# Nothing but the program's own files: no test programs, libraries or headers.
extra="$(cd "$root" && find . -type f | grep -v -e '^./usr/bin/tessaro$' -e '^./usr/share/' || true)"
[ -z "$extra" ] || { echo "unexpected in the package: $extra" >&2; exit 1; }
version="$("$root/usr/bin/tessaro" --version)"
[ "$version" = "tessaro $(dpkg-deb -f "$deb" Version)" ] || { echo "runs as: $version" >&2; exit 1; }
gzip -t "$root/usr/share/man/man1/tessaro.1.gz" "$root/usr/share/doc/tessaro/changelog.gz"
# Debian's own checker, where it is installed (CI does without it): no errors, no warnings.
if command -v lintian >/dev/null 2>&1; then
  if ! lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1; then
    cat "$scratch/lintian.log" >&2
    exit 1
  fi
fi
