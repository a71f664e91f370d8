#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it without
# installing it: the package is unpacked into a temporary root, whose
# lumetra-make builds a show from the installed layout; the launcher, the
# AppStream description and the project-file type are validated; lintian
# must find no error.
#   tools/check-package.sh [BUILD_FOLDER]   (default: build/test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
version=$(sed -n 's/^project(Lumetra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)
deb=$build/lumetra_${version}_${arch}.deb
id=org.example.Lumetra

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

rm -f "$deb"
if ! (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
fi
[ -f "$deb" ] || fail "cpack made no $deb"

root=$work/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr

# The layout: programs, module, program files and desktop files in their places.
for f in bin/lumetra bin/lumetra-make lib/$multiarch/lumetra/liblumetra_webplayer.so \
         share/lumetra/data/slideshow.js share/lumetra/data/template.html \
         share/lumetra/lng/Deutsch.lng share/lumetra/lng/English.lng \
         share/applications/$id.desktop share/mime/packages/$id.xml \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/man/man1/lumetra.1.gz share/man/man1/lumetra-make.1.gz \
         share/doc/lumetra/copyright share/doc/lumetra/changelog.gz; do
    [ -f "$usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png is not ${size}x${size}"
done
if file -b "$usr/bin/lumetra" "$usr/bin/lumetra-make" | grep -q "not stripped"; then
    fail "the programs are not stripped"
fi

# The installed programs answer without a display, and lumetra-make finds its
# data and language files in ../share/lumetra: a show written into a folder
# gets the language file's default show name.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/lumetra" --version)" = "lumetra $version" ] ||
    fail "lumetra --version"
[ "$("$usr/bin/lumetra-make" --version)" = "lumetra-make $version" ] || fail "lumetra-make --version"
mkdir -p "$work/pictures" "$work/home" "$work/tmp" "$work/show"
cp "$usr/share/lumetra/data/gui/desert.jpg" "$usr/share/lumetra/data/gui/beach.jpg" "$work/pictures/"
page=$(env -u XDG_RUNTIME_DIR HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
           TMPDIR="$work/tmp" "$usr/bin/lumetra-make" --seed 1 --output "$work/show/" \
           "$work/pictures" 2>"$work/make.log") || { cat "$work/make.log" >&2; fail "lumetra-make from the package"; }
[ "$page" = "$work/show/Meine-Diashow.html" ] || fail "lumetra-make wrote $page"
[ -f "$work/show/Meine-Diashow_dateien/Meine-Diashow.js" ] ||
    { ls -R "$work/show" >&2; fail "the show has no player"; }
cmp -s "$work/show/Meine-Diashow_dateien/Meine-Diashow.js" "$usr/share/lumetra/data/slideshow.js" ||
    fail "the show's player is not the installed one"

# The desktop files.
desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
xmllint --noout "$usr/share/mime/packages/$id.xml" || fail "the MIME type's XML"
mkdir -p "$work/mime/packages"
cp "$usr/share/mime/packages/$id.xml" "$work/mime/packages/"
XDG_DATA_HOME="$work" XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/mime.log" && [ ! -s "$work/mime.log" ] ||
    { cat "$work/mime.log" >&2; fail "update-mime-database"; }
grep -qx '50:application/x-lumetra-project:\*\.lmx' "$work/mime/globs2" || fail "no *.lmx glob"
grep -q '^\[30:application/x-lumetra-project\]' "$work/mime/magic" || fail "no project magic"

# The control fields.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6webenginewidgets6 libqt6webenginecore6-bin \
         gstreamer1.0-plugins-good fonts-liberation2 libcurl4; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"

# lintian: no error. Warnings are listed for the record.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
if grep -q '^E: ' "$work/lintian.log"; then
    cat "$work/lintian.log" >&2
    fail "lintian found errors"
fi
warnings=$(grep -c '^W: ' "$work/lintian.log" || true)
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, lintian: no errors, $warnings warnings"
grep '^W: ' "$work/lintian.log" || true
