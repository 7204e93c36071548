#!/usr/bin/env bash
# Checks what an already-built tree installs, as a newcomer's machine would
# get it: the install rules (with DESTDIR), the desktop entry and AppStream
# metainfo, then the Debian package: built from the same tree, installed with
# dpkg, the installed program started headless with a fresh HOME, the tools
# run from the install, and the package removed again.
# Usage: scripts/package-check.sh [BUILD_DIR]   (default build/test; needs root or sudo)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$(cd "${1:-build/test}" && pwd)
APP_ID=org.quillon.Quillon
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

fail() { echo "package check: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' quillon 2>/dev/null | grep -q "ok installed"; then
  fail "a quillon package is installed already; remove it first (this check installs and removes its own)"
fi

work=$(mktemp -d)
pid=""
installed=0
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ "$installed" = 1 ] && $SUDO dpkg -r quillon >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# 1. The install rules, under DESTDIR: the programs and the desktop files,
# and nothing else (no tests, no benchmarks, no test helpers).
DESTDIR="$work/stage" cmake --install "$BUILD" --prefix /usr >/dev/null
stage="$work/stage"
(cd "$stage" && find . -type f | sort) > "$work/files"
cat > "$work/expected" <<LIST
./usr/bin/Help-Quillon05
./usr/bin/quillon
./usr/bin/quillon-check
./usr/bin/quillon-doc
./usr/bin/quillon-find
./usr/bin/quillon-migrate
./usr/share/applications/$APP_ID.desktop
./usr/share/icons/hicolor/128x128/apps/$APP_ID.png
./usr/share/icons/hicolor/16x16/apps/$APP_ID.png
./usr/share/icons/hicolor/22x22/apps/$APP_ID.png
./usr/share/icons/hicolor/24x24/apps/$APP_ID.png
./usr/share/icons/hicolor/256x256/apps/$APP_ID.png
./usr/share/icons/hicolor/32x32/apps/$APP_ID.png
./usr/share/icons/hicolor/48x48/apps/$APP_ID.png
./usr/share/icons/hicolor/64x64/apps/$APP_ID.png
./usr/share/icons/hicolor/scalable/apps/$APP_ID.svg
./usr/share/metainfo/$APP_ID.metainfo.xml
LIST
diff -u "$work/expected" "$work/files" || fail "the install rules install other files than expected"
desktop-file-validate "$stage/usr/share/applications/$APP_ID.desktop"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$APP_ID.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$stage/usr/share/metainfo/$APP_ID.metainfo.xml"

# 2. The package, from the same build (installing never rebuilds).
(cd "$work" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
deb="$work/pkg/quillon_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in $(ls "$work/pkg")"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6network6 libcups2 libpq5 libc6; do
  echo "$depends" | grep -Eq "(^|, )$lib( |,|$)" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
grep -v '^\./usr/' "$work/contents" | grep -v '^\./$' && fail "files outside /usr in the package"
grep -q "$BUILD" "$work/contents" && fail "the package holds paths of the build folder"
grep -q '^\./usr/bin/quillon$' "$work/contents" || fail "the package lacks /usr/bin/quillon"
dpkg-deb -f "$deb" Recommends | grep -q libqt6sql6-psql || fail "Recommends lacks the PostgreSQL driver"

# 3. Installed, the program keeps the user's data in the per-user location.
$SUDO dpkg -i "$deb" >/dev/null
installed=1
home="$work/home"
mkdir -p "$home"
log="$work/quillon.log"
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
  QT_LOGGING_RULES="quillon.app.debug=true" /usr/bin/quillon >"$log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  grep -q "main window up" "$log" && break
  kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the installed program ended at start"; }
  sleep 0.1
done
grep -q "main window up" "$log" || { cat "$log" >&2; fail "the installed program's window never came up"; }
data="$home/.local/share/Quillon/Quillon05"
for f in quillon.mdb trax1.mdb trax10.mdb tape.mdb recdev.mdb note1.mdb; do
  [ -f "$data/$f" ] || fail "$f was not laid out in $data"
done
[ ! -e /usr/bin/data ] || fail "data was laid out beside the installed program"
# While it runs, a repair is refused.
if HOME="$home" quillon-check --repair "$data" >/dev/null 2>"$work/refusal"; then
  fail "quillon-check --repair ran while the program had the folder open"
fi
grep -q "open" "$work/refusal" || fail "quillon-check gave no reason for refusing"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

# 4. The tools from the install.
quillon-check "$data" >/dev/null
for tool in quillon-doc quillon-migrate quillon-find; do
  $tool --version | grep -q "$version" || fail "$tool --version does not say $version"
done
# The installed program searches the folder it laid out (its index built by then).
HOME="$home" quillon-find --data "$data" --build quillon >/dev/null ||
  fail "quillon-find found nothing in the installed program's catalogue"
quillon --version | grep -q "$version" || fail "quillon --version does not say $version"

# 5. Removed again, the machine is as it was.
$SUDO dpkg -r quillon >/dev/null
installed=0
[ ! -e /usr/bin/quillon ] || fail "/usr/bin/quillon is still there after dpkg -r"
echo "package check: $(basename "$deb") installs, runs from the install and removes cleanly"
