#!/bin/sh
# The usda-import program as a user runs it: exit codes and messages.
# Usage: usda_import_cli_test.sh <usda-import binary> <scratch folder>
tool=$1
dir=$2/usda-import-cli
rm -rf "$dir" && mkdir -p "$dir" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

"$tool" >/dev/null 2>"$dir/err"; [ $? -eq 2 ] || fail "no arguments should exit 2"
grep -q '^usage: usda-import' "$dir/err" || fail "no usage text"

line='~1~^~EGG~'
i=2; while [ $i -lt 53 ]; do line="$line^$i"; i=$((i + 1)); done
printf '%s\r\n' "$line" >"$dir/in.txt"
"$tool" "$dir/in.txt" "$dir/ABBREV.txt" >"$dir/out" || fail "a good table should convert"
grep -q 'wrote 1 foods' "$dir/out" || fail "no success message"
[ "$(head -c 16 "$dir/ABBREV.txt")" = '~1~^~EGG~^2^3^4^' ] || fail "wrong output"

ln "$dir/in.txt" "$dir/link.txt" || fail "cannot make a hard link"
cp "$dir/in.txt" "$dir/before"
"$tool" "$dir/in.txt" "$dir/link.txt" 2>"$dir/err"; [ $? -eq 1 ] || fail "a link to the input should exit 1"
grep -q 'is the input file' "$dir/err" || fail "no same-file message"
cmp -s "$dir/in.txt" "$dir/before" || fail "the input changed"

printf '1^2^3\r\n' >"$dir/bad.txt"
"$tool" "$dir/bad.txt" "$dir/ABBREV.txt" 2>"$dir/err"; [ $? -eq 1 ] || fail "a bad table should exit 1"
grep -q 'line 1 has 3 fields; a USDA abbreviated table has 53' "$dir/err" || fail "no bad-line message"

printf '~01001~^~0100~^~Butter, salted~^~BUTTER~^~butter~^~~^~Y~^~~^0^~~^6.38^4.27^8.79^3.87\r\n' >"$dir/des.txt"
"$tool" --descriptions "$dir/des.txt" "$dir/LONGDESC.txt" >"$dir/out" || fail "good descriptions should convert"
grep -q 'wrote 1 foods' "$dir/out" || fail "no success message for descriptions"
[ "$(cat "$dir/LONGDESC.txt")" = "$(printf '01001^0100^Y^^Butter, salted^butter\r')" ] || fail "wrong LONGDESC.txt"
printf '~01001~^1^1^~cup~^227^^\r\n~1001~^2^1^~tbsp~^14.2^^\r\n' >"$dir/weight.txt"
"$tool" --weights "$dir/weight.txt" "$dir/WEIGHTS.txt" 2>"$dir/err"; [ $? -eq 1 ] || fail "bad measures should exit 1"
grep -q 'line 2 has no 5-digit record number' "$dir/err" || fail "no record-number message"
"$tool" --weights "$dir/weight.txt" 2>/dev/null; [ $? -eq 2 ] || fail "a mode without its output should exit 2"
rm -rf "$dir"
echo "usda-import behaves"
