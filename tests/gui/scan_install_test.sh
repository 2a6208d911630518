#!/usr/bin/env bash
# An installed copy finds its library folder and scans: installs the build
# into a scratch prefix, checks that the program and the Source Manager find
# their shared libraries there (not in the build tree), and takes one image
# from SANE's test device through the installed TWAIN_32.DLL.
#
#   scan_install_test.sh BUILD_DIR PROBE SANE_CONFIG_DIR
set -euo pipefail
build=$1 probe=$2 sane_config=$(realpath "$3")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
folder=$prefix/lib/morvex
[ -x "$prefix/bin/morvex-demo" ] || fail "bin/morvex-demo was not installed"
[ -f "$folder/TWAIN_32.DLL" ] || fail "lib/morvex/TWAIN_32.DLL was not installed"
[ -f "$folder/libmorvex_winshim.so" ] || fail "lib/morvex/libmorvex_winshim.so was not installed"

# The shared library of both sides resolves inside the prefix.
for binary in "$prefix/bin/morvex-demo" "$folder/TWAIN_32.DLL"; do
  found=$(ldd "$binary" | awk '/libmorvex_winshim\.so/ {print $3}')
  [ -n "$found" ] && [ "$(realpath "$found")" = "$(realpath "$folder/libmorvex_winshim.so")" ] || fail "$binary finds libmorvex_winshim.so at '$found'"
  ! ldd "$binary" | grep -q "not found" || fail "$binary misses libraries: $(ldd "$binary" | grep 'not found')"
done

# A scan through the installed Source Manager, with the probe beside the program.
cp "$probe" "$prefix/bin/"
mkdir -p "$prefix/config"
out=$(cd "$prefix" && XDG_CONFIG_HOME="$prefix/config" SANE_CONFIG_DIR="$sane_config:" QT_QPA_PLATFORM=offscreen \
      "$prefix/bin/$(basename "$probe")" test:0) || fail "no image from the installed copy: $out"
[ "$(realpath -m "$(sed -n 1p <<<"$out")")" = "$(realpath "$folder")" ] || fail "the library folder is '$(sed -n 1p <<<"$out")', not $folder"
sed -n 2p <<<"$out" | grep -Eq '^[1-9][0-9]*x-?[1-9][0-9]*$' || fail "no image size in: $out"
echo "installed copy in $prefix scanned $(sed -n 2p <<<"$out")"
