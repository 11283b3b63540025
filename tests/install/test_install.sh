#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts the program, its desktop file, its AppStream
# metadata and its icons where a desktop looks for them; the validators accept both files;
# the installed program answers --version and --help without a display; and the manifest
# the README's uninstall uses lists every file installed.
# Arguments: cmake, the build folder, the project's version, the application id.
set -u
cmake="$1" build="$2" version="$3" id="$4"

work=$(mktemp -d)
manifest="$build/install_manifest.txt"
# Installing writes the build folder's manifest: keep the one of a real install, if any.
[ -e "$manifest" ] && cp "$manifest" "$work/manifest.kept"
cleanup() {
    if [ -e "$work/manifest.kept" ]; then cp "$work/manifest.kept" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

prefix="$work/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.txt")"

share="$prefix/share"
expected=("$prefix/bin/kelvo" "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml"
    "$share/icons/hicolor/scalable/apps/$id.svg")
for size in 16 32 48 64 128 256; do
    expected+=("$share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -s "$file" ] || fail "nothing installed at $file"
done
[ -x "$prefix/bin/kelvo" ] || fail "the installed program is not executable"
echo "ok: ${#expected[@]} files in place"

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate refused it"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.txt" 2>&1 ||
    fail "appstreamcli refused the metadata: $(cat "$work/appstream.txt")"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not name release $version"
echo "ok: desktop file and metadata validate"

# No display at all: a QApplication could not even be built.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kelvo" "$@"; }
out=$(run --version) || fail "--version ended with status $?"
[ "$out" = "Kelvo $version" ] || fail "--version printed '$out'"
out=$(run --help) || fail "--help ended with status $?"
[[ $out == Usage:* && $out == *--version* ]] || fail "--help printed '$out'"
run --no-such-option >"$work/out.txt" 2>"$work/err.txt"
status=$?
[ "$status" = 1 ] || fail "an unknown option ended with status $status, not 1"
grep -q "no-such-option" "$work/err.txt" && grep -q "^Usage:" "$work/err.txt" ||
    fail "an unknown option printed: $(cat "$work/err.txt")"
echo "ok: --version, --help and a wrong option answered without a display"

# The README's uninstall leaves nothing behind.
xargs rm <"$manifest" || fail "removing the files in the manifest failed"
left=$(find "$prefix" -type f)
[ -z "$left" ] || fail "left after uninstalling: $left"
echo "ok: the manifest lists every installed file"
echo PASS
