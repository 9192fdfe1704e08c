#!/usr/bin/env bash
# Makes the chart's picture sets from nothing: renders the 108 large JPEG
# phase pictures, runs the three phase-picture tools on them exactly as the
# window's hidden buttons would, assembles the strips and masks, and draws a
# contact sheet.
#   make_pictures.sh WORK_DIR OUT_DIR
# PICGEN and VK_TOOL name the two programs (the CMake target make-pictures
# sets them). The large pictures stay in WORK_DIR; OUT_DIR receives the small
# ones that are committed (data/pictures); the contact sheet goes to
# WORK_DIR/contact_sheet.png.
set -euo pipefail
work=${1:?work folder}
out=${2:?output folder}
picgen=${PICGEN:?PICGEN must name the picgen program}
tool=${VK_TOOL:?VK_TOOL must name vesperkalend-tool}

start=$(date +%s)
mkdir -p "$work/sources" "$work/tools" "$out"
"$picgen" sources --out "$work/sources"
rendered=$(date +%s)
for body in moon venus mercury; do
  "$tool" phase-pictures "$body" --from "$work/sources" --to "$work/tools"
done
tooled=$(date +%s)
"$picgen" sets --tools "$work/tools" --sources "$work/sources" --out "$out"
"$picgen" contact-sheet --from "$out" --out "$work/contact_sheet.png"
end=$(date +%s)
echo "rendering $((rendered - start)) s, tools $((tooled - rendered)) s, sets $((end - tooled)) s, total $((end - start)) s" >&2
