#!/bin/sh
# Installs the build into a scratch prefix and checks the tree the way a desktop uses it.
# usage: check-install.sh <cmake> <build dir> <scratch prefix> <app id> <programs...>
set -eu
cmake=$1 build=$2 prefix=$3 id=$4
shift 4
command -v appstreamcli >/dev/null 2>&1 || { echo "appstreamcli is not installed"; exit 77; }

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

status=0
fail() {
    echo "$1"
    status=1
}
for program in "$@"; do
    [ -x "$prefix/bin/$program" ] || fail "missing program: bin/$program"
done
# The command-line tool comes with its manual page.
if [ -x "$prefix/bin/zavora-cli" ]; then
    [ -f "$prefix/share/man/man1/zavora-cli.1" ] || fail "missing manual page of zavora-cli"
fi
[ -f "$prefix/lib/udev/rules.d/70-zavora.rules" ] || fail "missing udev rule"
[ -f "$prefix/share/applications/$id.desktop" ] || fail "missing desktop entry"
[ -f "$prefix/share/doc/zavora/copyright" ] || fail "missing copyright"
[ -d "$prefix/share/zavora/res" ] || fail "missing picture folder share/zavora/res"
[ ! -e "$prefix/share/zavora/res/skin" ] || fail "the skin is compiled into the programs, yet installed"
for size in 256 128 64 48; do
    icon="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
    if [ ! -f "$icon" ]; then
        fail "missing icon: ${size}x$size"
        continue
    fi
    # The PNG header holds the width as four bytes, most significant first, at offset 16.
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }')
    [ "$width" = "$size" ] || fail "icon in ${size}x$size is $width pixels wide"
done
appstreamcli validate-tree --no-net "$prefix" || status=1
exit $status
