#!/usr/bin/env bash
# Installs the build under an unusual prefix and checks what a user and a
# desktop find there: the programs answer --version and --help and have their
# manual pages, the demo finds the shipped
# resources without --data, the desktop entry is valid and the icon is there.
# usage: installed_tree.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: installed_tree.sh BUILD_DIR}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix="$root/opt/kalvera"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/kalvera bin/kalvera-cli bin/kalvera-demo \
    share/kalvera/towns.txt share/kalvera/punkt.txt share/kalvera/country.ind \
    share/kalvera/country.bin share/kalvera/colors.bin \
    share/kalvera/colors/colourblind-reflectivity.pal share/kalvera/colors/greyscale.pal \
    share/applications/kalvera.desktop share/icons/hicolor/scalable/apps/kalvera.svg \
    share/icons/hicolor/48x48/apps/kalvera.png share/man/man1/kalvera.1 \
    share/man/man1/kalvera-cli.1 share/man/man1/kalvera-demo.1; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done

for program in kalvera kalvera-cli kalvera-demo; do
  "$prefix/bin/$program" --version | grep -qx "$program [0-9.]*" \
    || fail "$program --version does not print its version"
  # Without a display, as a packager's build machine runs it.
  usage=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/$program" --help) \
    || fail "$program --help fails"
  grep -q "^usage: $program " <<<"$usage" || fail "$program --help does not print its usage"
done

# The installed copy is marked, so that a fall-back on the source tree's
# resources cannot pass for finding the installed ones.
printf 'installed copy\n' >>"$prefix/share/kalvera/punkt.txt"
(cd "$root" && "$prefix/bin/kalvera-demo" start --days 0 >/dev/null) \
  || fail "kalvera-demo cannot prepare a start directory"
cmp -s "$root/start/res/punkt.txt" "$prefix/share/kalvera/punkt.txt" \
  || fail "kalvera-demo did not take the installed resources"
[ -e "$root/start/res/colors/colourblind-phenomena.pal" ] \
  || fail "kalvera-demo did not copy the colour-table presets"

if ! command -v desktop-file-validate >/dev/null; then
  echo "desktop-file-validate is not installed; the desktop entry is not checked"
  exit 77
fi
desktop-file-validate "$prefix/share/applications/kalvera.desktop"
echo "installed tree complete"
