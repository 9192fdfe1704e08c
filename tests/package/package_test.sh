#!/usr/bin/env bash
# Checks of the Debian package and of what it installs.
#   package_test.sh build BUILD_DIR WORK_DIR      makes WORK_DIR/vesperkalend_*.deb with cpack
#   package_test.sh lintian WORK_DIR              lintian reports no error
#   package_test.sh desktop WORK_DIR              desktop-file-validate and appstreamcli pass
#   package_test.sh installed WORK_DIR            the programs run from a scratch root made by dpkg -x
set -euo pipefail
step=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

deb_of() {
  local debs=("$1"/vesperkalend_*.deb)
  [ -f "${debs[0]}" ] || fail "no package in $1 (the build step failed?)"
  echo "${debs[0]}"
}

case $step in
  build)
    build=$2 work=$3
    rm -rf "$work" && mkdir -p "$work"
    cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
    deb=$(deb_of "$work")
    dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "shlibdeps gave no Qt dependency"
    dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || fail "no platform plug-in dependency"
    # The coefficients and the programs, no made tables: at most 15 MB.
    size=$(stat -c %s "$deb")
    [ "$size" -le 15000000 ] || fail "package of $size bytes"
    listing=$(dpkg-deb -c "$deb")
    grep -q 'usr/share/vesperkalend/de405_1960-2060.bin' <<<"$listing" || fail "no coefficients"
    if grep '\.bin$' <<<"$listing" | grep -qv de405_1960-2060; then fail "made tables shipped"; fi
    dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || fail "no dependency on Qt's translations"
    ;;
  lintian)
    deb=$(deb_of "$2")
    out=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)
    echo "$out"
    if grep -q '^E:' <<<"$out"; then fail "lintian reports errors"; fi
    ;;
  desktop)
    deb=$(deb_of "$2")
    root=$2/desktop-root
    rm -rf "$root" && dpkg -x "$deb" "$root"
    desktop=("$root"/usr/share/applications/*.desktop)
    metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
    desktop-file-validate "${desktop[0]}" | grep -v 'hint:' || true
    desktop-file-validate "${desktop[0]}" | grep -qv 'hint:' && fail "desktop entry has errors or warnings"
    appstreamcli validate --no-net "${metainfo[0]}" || fail "metainfo does not validate"
    id=$(basename "${desktop[0]}" .desktop)
    grep -q "<id>$id</id>" "${metainfo[0]}" || fail "metainfo id differs from the desktop entry $id"
    grep -q '^Name\[de\]\|^GenericName\[de\]' "${desktop[0]}" || fail "no German name"
    grep -q '^Categories=Education;Science;Astronomy;$' "${desktop[0]}" || fail "categories"
    icon=$(sed -n 's/^Icon=//p' "${desktop[0]}")
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    for size in 48 64 128 256; do
      png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
      file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $png is not $size x $size"
    done
    # The man pages are made from --help: every option the programs list is in them.
    for page in vesperkalend vesperkalend-tool; do
      man=$root/usr/share/man/man1/$page.1.gz
      [ -f "$man" ] || fail "no man page $page(1)"
      text=$(zcat "$man" | sed 's/\\-/-/g')
      for word in --help --version --lang; do grep -q -- "$word" <<<"$text" || fail "$page(1) lacks $word"; done
    done
    text=$(zcat "$root/usr/share/man/man1/vesperkalend-tool.1.gz" | sed 's/\\-/-/g')
    for word in places --place --tz --interpolation --daemmerungen --no-auf-untergaenge --meridian --verbose \
                --kinds .local/share/vesperkalend; do
      grep -q -- "$word" <<<"$text" || fail "vesperkalend-tool(1) lacks $word"
    done
    if grep -qi 'temporary folder' <<<"$text"; then fail "vesperkalend-tool(1) names a temporary folder"; fi
    ;;
  installed)
    deb=$(deb_of "$2")
    root=$2/root
    rm -rf "$root" && dpkg -x "$deb" "$root"
    version=$(dpkg-deb -f "$deb" Version)
    cd "$2"   # no data here: the tool finds the installed data beside itself
    export XDG_CACHE_HOME="$2/cache"   # the first run makes the documented decade there
    rm -rf "$XDG_CACHE_HOME"
    "$root/usr/bin/vesperkalend-tool" --version | grep -qx "vesperkalend-tool $version.0" || fail "tool --version"
    QT_QPA_PLATFORM=offscreen "$root/usr/bin/vesperkalend" --version | grep -qx "vesperkalend $version.0" \
      || fail "window --version"
    QT_QPA_PLATFORM=offscreen "$root/usr/bin/vesperkalend" --help | grep -q -- '--version' || fail "window --help"
    # Run as root too, the event log goes to the user's data folder, never into the installation.
    export XDG_DATA_HOME="$2/userdata"
    rm -rf "$XDG_DATA_HOME"
    "$root/usr/bin/vesperkalend-tool" render --date 2024-04-08 --out "$2/installed.png" --verbose >"$2/render.log" 2>&1 \
      || { cat "$2/render.log"; fail "render from the installed tree"; }
    [ -f "$XDG_DATA_HOME/vesperkalend/Vesperkalend_2022-2032_Log.txt" ] || fail "no event log in the user's data folder"
    [ -z "$(find "$root/usr/share/vesperkalend" -name '*_Log.txt')" ] || fail "event log written into the installation"
    file "$2/installed.png" | grep -q 'PNG image data, 2500 x 2400' || fail "rendered chart"
    grep -q '^MOO A: ' "$2/render.log" || fail "no rise line of the Moon"
    grep -q 'Making the tables of 2022-2032' "$2/render.log" || fail "the first run did not make the decade"
    [ -f "$XDG_CACHE_HOME/vesperkalend/HORIZONS_daten_2022-2032_MOO.bin" ] || fail "no tables in the cache"
    [ -f "$root/usr/share/vesperkalend/translations/vesperkalend_en.qm" ] || fail "no English translation installed"
    "$root/usr/bin/vesperkalend-tool" places Wien 2>&1 | grep -q '^Wien (Vienna) — Europe/Vienna ' \
      || fail "the installed tool does not find the installed town list"
    LC_ALL=en_US.UTF-8 "$root/usr/bin/vesperkalend-tool" day --date 2024-04-08 --daemmerungen >"$2/day_en.log" 2>&1 \
      || { cat "$2/day_en.log"; fail "day in English from the installed tree"; }
    grep -q '^MOO R: ' "$2/day_en.log" && grep -q 'Sun  rises' "$2/day_en.log" \
      || { cat "$2/day_en.log"; fail "the installed tool does not list in English"; }
    ;;
  *) fail "unknown step $step" ;;
esac
echo "ok: $step"
