#!/usr/bin/env bash
# The English translation is complete: lupdate, run on a copy of the sources
# (the tree is not rewritten), finds no text without an entry and drops none,
# and lrelease finds no entry unfinished.
#   translations_test.sh SOURCE_DIR LUPDATE LRELEASE WORK_DIR
set -euo pipefail
src=$1 lupdate=$2 lrelease=$3 work=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work"
cp -r "$src/src" "$src/tools" "$src/translations" "$work/"
ts=translations/vesperkalend_en.ts
cd "$work"
# The options the committed file was made with; see README ("Translations").
"$lupdate" -locations none -no-obsolete -source-language de -target-language en src tools -ts "$ts" >lupdate.log 2>&1 \
  || { cat lupdate.log; fail "lupdate"; }
cat lupdate.log
grep -q '(0 new and' lupdate.log || fail "texts without an English entry (lupdate found new ones)"
if ! diff -u "$src/$ts" "$ts"; then
  fail "$ts is not what lupdate makes of the sources (a text gone or changed; run lupdate as above)"
fi
"$lrelease" "$ts" -qm en.qm >lrelease.log 2>&1 || { cat lrelease.log; fail "lrelease"; }
cat lrelease.log
grep -q ' 0 unfinished)' lrelease.log || fail "unfinished English entries"
if grep -q 'untranslated' lrelease.log; then fail "untranslated entries"; fi
echo "ok: translation complete"
