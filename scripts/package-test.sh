#!/usr/bin/env bash
# Builds the Debian package from a built tree and tries it as a user would:
#   scripts/package-test.sh [BUILD_DIR]     (default: build)
# 1. cpack -G DEB, then lintian (no errors) and the package's dependencies;
# 2. installs it: dpkg -i and apt-get -f install as root, dpkg -x into a
#    temporary folder otherwise;
# 3. runs the installed dravbatch on examples/ and the installed Dravella
#    offscreen until its window is up, as an ordinary user;
# 4. renders both manual pages, validates the desktop entry and the AppStream
#    metadata, and checks the guide is where Help looks for it;
# 5. removes the package.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${1:-build}")
app_id=example.dravella.Dravella
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")

work=$(mktemp -d)
installed_by_dpkg=0
cleanup() {
  if [ "$installed_by_dpkg" = 1 ]; then dpkg -r dravella >/dev/null 2>&1 || true; fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package: $*" >&2; exit 1; }
step() { echo "-- $*"; }

step "cpack -G DEB"
(cd "$build_dir" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$work/deb/dravella_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
cp "$deb" "$build_dir/" 2>/dev/null || true  # kept for whoever wants to install it

step "lintian"
lintian --fail-on error "$deb" | tee "$work/lintian.log" || fail "lintian found errors"

step "dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-liberation libqt6widgets6 libc6 libstdc++6; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed"
done
files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for expected in ./usr/bin/Dravella ./usr/bin/dravbatch \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    ./usr/share/doc/dravella/index.html ./usr/share/doc/dravella/copyright \
    ./usr/share/doc/dravella/changelog.gz \
    ./usr/share/man/man1/dravbatch.1.gz ./usr/share/man/man1/Dravella.1.gz; do
  grep -qxF "$expected" <<<"$files" || fail "the package lacks $expected"
done

# The package's own files, for the checks that need no install.
dpkg -x "$deb" "$work/files"

if [ "$(id -u)" -eq 0 ]; then
  step "dpkg -i, apt-get -f install"
  installed_by_dpkg=1
  if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$work/dpkg.log" 2>&1 ||
      { cat "$work/dpkg.log" >&2; fail "the package does not install"; }
  fi
  dpkg-query -W -f='${Status}' dravella | grep -q 'install ok installed' || fail "not installed"
  root=""
else
  step "dpkg -x (not root): the extracted files stand for the install"
  root="$work/files"
fi

# The programs run as an ordinary user, as on a desktop: the system's bin
# folder is not theirs to write.
chmod 755 "$work"
cp -r examples "$work/examples"
chmod -R a+rX "$work/examples"
user_home="$work/home"
mkdir -p "$user_home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$user_home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$root/usr/bin"
fi
run_as_user() {
  env -i PATH=/usr/bin:/bin HOME="$user_home" LANG=C.UTF-8 "$@"
}

step "installed dravbatch on examples/"
dravbatch="$root/usr/bin/dravbatch"
[ "$(run_as_user "$dravbatch" --version)" = "dravbatch $version" ] || fail "dravbatch --version"
out="$user_home/out"
run_as_user "${as_user[@]}" mkdir "$out"
run_as_user "${as_user[@]}" "$dravbatch" "$work/examples" "$out" /dbf4 ||
  fail "dravbatch on examples/ ended with status $?"
for table in sales/Orders.dbf sales/Regions.dbf inventory/Items.dbf staff/Staff.dbf; do
  [ -s "$out/$table" ] || fail "dravbatch wrote no $table"
done

step "installed Dravella, offscreen, until its window is up"
# The main window's first paint is the sign it is up: Qt logs it when asked.
run_as_user "${as_user[@]}" env QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= \
  QT_LOGGING_RULES="qt.widgets.painting=true" XDG_RUNTIME_DIR="$user_home" \
  "$root/usr/bin/Dravella" >"$work/dravella.log" 2>&1 &
pid=$!
up=0
for _ in $(seq 1 300); do
  kill -0 "$pid" 2>/dev/null || break
  if grep -q 'Drawing .* name="form1".* into paint device' "$work/dravella.log"; then
    up=1
    break
  fi
  sleep 0.1
done
kill "$pid" 2>/dev/null || up=0
wait "$pid" 2>/dev/null || true
if [ "$up" != 1 ] || grep -qE "error while loading|Cannot load library|[Cc]ould not" "$work/dravella.log"; then
  grep -v '^qt\.widgets\.painting' "$work/dravella.log" | tail -20 >&2
  fail "Dravella did not come up"
fi
# A program whose folder cannot be written keeps its settings in the user's.
[ -d "$user_home/.config/Dravella" ] || fail "no per-user settings folder"

step "Help's guide beside the installed program"
[ -f "$root/usr/bin/../share/doc/dravella/index.html" ] || fail "no guide where Help looks"

step "man -l"
for page in dravbatch Dravella; do
  text=$(MANWIDTH=80 man --warnings -l "$work/files/usr/share/man/man1/$page.1.gz" 2>"$work/man.err")
  [ ! -s "$work/man.err" ] || { cat "$work/man.err" >&2; fail "man warns about $page.1"; }
  grep -q "SYNOPSIS" <<<"$text" || fail "$page.1 renders without a synopsis"
  grep -q "$version" <<<"$text" || fail "$page.1 lacks the version"
done

step "desktop-file-validate, appstreamcli validate"
desktop-file-validate "$work/files/usr/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/files/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "AppStream metadata"
# The metadata together with the desktop entry it launches.
appstreamcli validate-tree --no-net "$work/files" >/dev/null || fail "AppStream tree"

if [ "$installed_by_dpkg" = 1 ]; then
  step "dpkg -r"
  dpkg -r dravella >/dev/null
  installed_by_dpkg=0
  if [ -e /usr/bin/dravbatch ] || [ -e /usr/bin/Dravella ]; then fail "removal left the programs"; fi
fi
echo "package: dravella_${version}_amd64.deb built, installed, run and removed"
