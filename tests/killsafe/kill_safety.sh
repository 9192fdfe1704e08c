#!/usr/bin/env bash
# Kills make-binary-files, compute and the window's close with SIGKILL at
# VK_KILLS (default 30) random moments each. After every kill each file the
# command writes must be the complete old or the complete new version; after
# one more complete run no temporary of the killed runs may be left.
# usage: kill_safety.sh TOOL CLOSE_DRIVER PROGRAM DATA_DIR
set -uo pipefail
tool=$(realpath "$1") driver=$(realpath "$2") program=$(realpath "$3") data=$(realpath "$4")
kills_per_command=${VK_KILLS:-30}
work=$(mktemp -d "${TMPDIR:-/tmp}/vk-killsafe-XXXXXX")
trap 'rm -rf "$work"' EXIT
kills=0 checked=0 bad=0

now_ms() { date +%s%3N; }
# A random number of milliseconds in 0 … $1 - 1, as seconds for sleep.
random_delay() { local ms=$(( (RANDOM * 32768 + RANDOM) % $1 )); printf '%d.%03d' $((ms / 1000)) $((ms % 1000)); }
# check FILE OLD NEW: FILE must equal OLD or NEW.
check() {
  checked=$((checked + 1))
  if ! cmp -s "$1" "$2" && ! cmp -s "$1" "$3"; then
    bad=$((bad + 1))
    echo "BAD: $1 ($(stat -c %s "$1" 2>/dev/null || echo missing) bytes) is neither the old nor the new version" >&2
  fi
}
temporaries() { find "$@" -name '*.vk-partial.*' | wc -l; }
# run_killed SECONDS COMMAND...: starts the command, kills it after SECONDS.
run_killed() {
  local delay=$1; shift
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$delay"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  kills=$((kills + 1))
}

# --- make-binary-files: the nine .bin files from the exports ----------------
mbf=$work/mbf old=$work/old
mkdir -p "$mbf/_res" "$old"
ln -s "$data"/_res/*.txt "$mbf/_res/"
bins=$(cd "$data" && ls HORIZONS_daten_2022-2032_*.bin)
for b in $bins; do printf 'old version of %s\n' "$b" >"$old/$b"; done
start=$(now_ms)
"$tool" make-binary-files --dir "$mbf" >/dev/null 2>&1 || { echo "make-binary-files failed" >&2; exit 1; }
span=$(( $(now_ms) - start + 1 ))
for i in $(seq "$kills_per_command"); do
  for b in $bins; do cp "$old/$b" "$mbf/$b"; done
  run_killed "$(random_delay "$span")" "$tool" make-binary-files --dir "$mbf"
  for b in $bins; do check "$mbf/$b" "$old/$b" "$data/$b"; done
done
left_mbf=$(temporaries "$mbf")
"$tool" make-binary-files --dir "$mbf" >/dev/null 2>&1 || { echo "make-binary-files failed after the kills" >&2; bad=$((bad + 1)); }
for b in $bins; do check "$mbf/$b" "$data/$b" "$data/$b"; done
echo "make-binary-files: ${span} ms a run, $kills_per_command kills, $left_mbf temporaries after them, $(temporaries "$mbf") after the next run"

# --- compute: the event log -------------------------------------------------
cmp_dir=$work/compute
mkdir -p "$cmp_dir"
for f in $bins Vesperkalend_2022-2032_MOOMERVEN_Phase.txt; do ln -s "$data/$f" "$cmp_dir/$f"; done
log=Vesperkalend_2022-2032_Log.txt
printf 'old event log\n' >"$old/$log"
start=$(now_ms)
"$tool" compute --dir "$cmp_dir" >/dev/null 2>&1 || { echo "compute failed" >&2; exit 1; }
span=$(( $(now_ms) - start + 1 ))
cp "$cmp_dir/$log" "$work/new_$log"
for i in $(seq "$kills_per_command"); do
  cp "$old/$log" "$cmp_dir/$log"
  run_killed "$(random_delay "$span")" "$tool" compute --dir "$cmp_dir"
  check "$cmp_dir/$log" "$old/$log" "$work/new_$log"
done
left_cmp=$(temporaries "$cmp_dir")
"$tool" compute --dir "$cmp_dir" >/dev/null 2>&1 || { echo "compute failed after the kills" >&2; bad=$((bad + 1)); }
check "$cmp_dir/$log" "$work/new_$log" "$work/new_$log"
echo "compute: ${span} ms a run, $kills_per_command kills, $left_cmp temporaries after them, $(temporaries "$cmp_dir") after the next run"

# --- the window's close: screen dump and settings ----------------------------
win=$work/window
ini=config/Vesperkalend.ini bmp=documents/Screendump.bmp
mkdir -p "$win"
# One complete run gives the new versions and the time the close takes.
"$driver" "$win" "$data" "$program" >/dev/null 2>&1 || { echo "the window did not open and close" >&2; exit 1; }
[ -f "$win/$ini" ] && [ -f "$win/$bmp" ] || { echo "the close wrote no files" >&2; exit 1; }
cp "$win/$ini" "$work/new.ini"
cp "$win/$bmp" "$work/new.bmp"
printf 'old screen dump\n' >"$old/Screendump.bmp"
cp "$work/new.ini" "$old/Vesperkalend.ini"   # the close writes the same settings back
rm -f "$win/closing"
"$driver" "$win" "$data" "$program" >/dev/null 2>&1 &
pid=$!
while [ ! -f "$win/closing" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
start=$(now_ms)
wait "$pid"
span=$(( $(now_ms) - start + 1 ))
for i in $(seq "$kills_per_command"); do
  cp "$old/Screendump.bmp" "$win/$bmp"
  cp "$old/Vesperkalend.ini" "$win/$ini"
  rm -f "$win/closing"
  "$driver" "$win" "$data" "$program" >/dev/null 2>&1 &
  pid=$!
  while [ ! -f "$win/closing" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.005; done
  sleep "$(random_delay "$span")"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  kills=$((kills + 1))
  check "$win/$bmp" "$old/Screendump.bmp" "$work/new.bmp"
  check "$win/$ini" "$old/Vesperkalend.ini" "$work/new.ini"
done
left_win=$(temporaries "$win")
"$driver" "$win" "$data" "$program" >/dev/null 2>&1 || { echo "the window failed after the kills" >&2; bad=$((bad + 1)); }
check "$win/$bmp" "$work/new.bmp" "$work/new.bmp"
echo "window close: ${span} ms a close, $kills_per_command kills, $left_win temporaries after them, $(temporaries "$win") after the next run"

left=$(temporaries "$work")
echo "kills: $kills, files checked: $checked, bad files: $bad, temporaries left: $left"
[ "$bad" -eq 0 ] && [ "$left" -eq 0 ]
