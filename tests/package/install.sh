#!/usr/bin/env bash
# The Debian package as a user meets it: its dependencies met by this
# machine's packages, installed into a root of its own, --version, a first
# start on a fresh home folder until its window is painted (the shipped
# files copied from /usr/share/velmorand), then removed, leaving nothing
# behind outside the home folder.
# Usage: install.sh <package.deb>
set -euo pipefail
deb=$(readlink -f "$1")
root=$(mktemp -d /tmp/velmorand-root.XXXXXX)
admin="$root/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/status" "$admin/available"
trap 'rm -rf "$root"' EXIT

# The package's own root has no libraries' packages; this machine has.
printf 'Source: velmorand\n\nPackage: velmorand\nArchitecture: any\n' >"$root/control"
dpkg-checkbuilddeps -d "$(dpkg-deb -f "$deb" Depends)" "$root/control" ||
    { echo "FAIL: its dependencies are not met here" >&2; exit 1; }
rm "$root/control"
echo "PASS: its dependencies are met by this machine's packages"
out=$(dpkg --root="$root" --force-depends --force-not-root -i "$deb" 2>&1) ||
    { echo "$out" >&2; echo "FAIL: dpkg did not install it" >&2; exit 1; }
[ -x "$root/usr/bin/velmorand" ] || { echo "FAIL: no program in /usr/bin" >&2; exit 1; }
echo "PASS: installed ($(dpkg-deb -f "$deb" Installed-Size) KiB)"

# A language only the installed data folder holds.
cp "$root/usr/share/velmorand/languages/English.lng" "$root/usr/share/velmorand/languages/Extra.lng"
(
    source "$(dirname "$0")/../e2e/lib.sh" "$root/usr/bin/velmorand"
    [ "$("$BINARY" --version)" = "velmorand $(dpkg-deb -f "$deb" Version)" ] ||
        fail "--version says $("$BINARY" --version)"
    pass "--version names the package's version"
    start_x
    start_app
    wait_trace "painted"
    pass "the first start paints its window"
    for file in languages/English.lng languages/Extra.lng sounds/avizo.wav; do
        [ -s "$HOME_DIR/$file" ] || fail "$file was not copied into the new home folder"
    done
    pass "the new home folder has the installed languages and sounds"
    kill -TERM "$APP_PID"
    wait "$APP_PID" || fail "the program ended with an error"
    left=$(find "$WORK/user" -type f)
    [ -z "$left" ] || fail "files outside the home folder: $left"
    pass "nothing written outside the home folder"
)
rm "$root/usr/share/velmorand/languages/Extra.lng"

dpkg --root="$root" --force-not-root --purge velmorand >/dev/null
left=$(find "$root" -mindepth 1 -not -path "$root/var" -not -path "$root/var/lib" \
    -not -path "$admin" -not -path "$admin/*")
[ -z "$left" ] || { echo "FAIL: left after removal: $left" >&2; exit 1; }
echo "PASS: removed, nothing of it left"
