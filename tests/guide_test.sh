#!/usr/bin/env bash
# Keeps the user guide (docs/用户指南.md) honest against the program: every picture it links
# exists and every picture in docs/images is linked; every caption, label and button of the
# dialog templates is named; every key the editor reads is mentioned, and no key is
# mentioned that the editor does not read. Fast and native: it reads files only.
set -u
source "$(dirname "$0")/../scripts/lib/harness.bash"
trap 'rm -rf "$e2e_dir"' EXIT
guide=$root/docs/用户指南.md
images=$root/docs/images
mentions() { grep -qF -- "$1" "$guide"; }

[ -f "$guide" ] || { echo "FAILED: $guide is missing"; echo "guide: 0 passed, 1 failed"; exit 1; }

# ---- Pictures ----
linked=$(grep -oE '\]\(images/[^)]+\)' "$guide" | sed -E 's/^\]\(images\/(.*)\)$/\1/' | sort -u)
check "the guide shows pictures" test -n "$linked"
for name in $linked; do
  check "linked picture images/$name exists" test -s "$images/$name"
  check "linked picture images/$name has an ASCII name ending in .png" \
    bash -c '[[ $0 =~ ^[A-Za-z0-9_.-]+\.png$ ]]' "$name"
done
for file in "$images"/*; do
  [ -e "$file" ] || continue
  name=$(basename "$file")
  check "picture images/$name is linked from the guide" grep -qF "](images/$name)" "$guide"
done

# ---- Dialog templates: captions, labels, group boxes and buttons ----
labels=$(grep -oE '^\s*(CAPTION|LTEXT|GROUPBOX|PUSHBUTTON|DEFPUSHBUTTON)\s+"[^"]+"' "$root/dialogs/dialogs.rc" |
  sed -E 's/^[^"]*"([^"]*)"$/\1/' | sort -u)
check "the dialog templates have labels to look for" test "$(echo "$labels" | wc -l)" -ge 30
while IFS= read -r label; do
  [ -n "$label" ] && check "the guide names the dialog label '$label'" mentions "$label"
done <<<"$labels"

# ---- Keys: each key constant the editor reads (app/), in the words the guide uses ----
word_of_key() {
  case $1 in
    kKeyEscape) echo Esc ;;
    kKeyShift) echo Shift ;;
    kKeyControl) echo Ctrl ;;
    kKeyLeft | kKeyRight | kKeyUp | kKeyDown) echo 方向键 ;;
    kKeyDelete) echo Delete ;;
    kKeyF3) echo F3 ;;
    kKey[A-Z]) echo "${1#kKey}" ;;
    *) echo "" ;;
  esac
}
# Keys are read by name (KeyDown, WaitKeyRelease) or are rows of the main loop's key table.
read_keys=$(grep -ohE '(KeyDown|Pressed|WaitKeyRelease)\(kKey[A-Za-z0-9]+\)|^ *\{kKey[A-Za-z0-9]+,' "$root"/app/*.cpp |
  grep -oE 'kKey[A-Za-z0-9]+' | sort -u)
check "the editor reads keys" test "$(echo "$read_keys" | wc -l)" -ge 10
# A letter counts as mentioned when it stands alone (not inside a word such as "JSON").
mentions_key() {
  if [ "${#1}" = 1 ]; then grep -qP "(?<![A-Za-z])$1(?![A-Za-z])" "$guide"; else mentions "$1"; fi
}
for key in $read_keys; do
  word=$(word_of_key "$key")
  check "key $key has a word in this test" test -n "$word"
  [ -n "$word" ] && check "the guide mentions key $word ($key)" mentions_key "$word"
done
# The start-up notice names the same keys.
notice=$(sed -n '/kNotice\[\] =/,/;$/p' "$root/app/main.cpp")
check "the start-up notice is found" test -n "$notice"
for key in $read_keys; do
  word=$(word_of_key "$key")
  [ -z "$word" ] && continue
  if [ "${#word}" = 1 ]; then
    check "the start-up notice mentions key $word ($key)" grep -qP "(?<![A-Za-z])$word(?![A-Za-z])" <<<"$notice"
  else
    check "the start-up notice mentions key $word ($key)" grep -qF -- "$word" <<<"$notice"
  fi
done
# The other way round: every single letter the guide presents as a key (in bold, or in the
# key table) is one the editor reads.
letters_read=$(for key in $read_keys; do w=$(word_of_key "$key"); [ "${#w}" = 1 ] && echo "$w"; done | sort -u)
shown=$( { grep -oP '\*\*[A-Z]\*\*' "$guide" | tr -d '*'; grep -oP '^\| [A-Z]( / [A-Z])* \|' "$guide" | grep -oE '[A-Z]'; } | sort -u)
for letter in $shown; do
  check "key $letter shown in the guide is read by the editor" grep -qx "$letter" <<<"$letters_read"
done

checks_line guide
