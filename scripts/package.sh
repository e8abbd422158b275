#!/usr/bin/env bash
# Makes the release package for Windows users: dist/btl_editor-VERSION.zip holding
#   btl_editor.exe, btl.exe          the two programs, stripped, statically linked
#   用户指南.html, 用户指南.md, images\   the user guide (docs/) as a page with its pictures
#   说明.txt                          a short read-me (docs/说明.txt, CRLF with a BOM for Notepad)
#   LICENSE.txt                      the license
#   示例\                             the demo data (数据\, 图片\, three battle files)
# The version is base/version.h's. Builds both trees first (nothing to do when up to date).
# Names in the zip are UTF-8 with the zip's UTF-8 flag set. Prints the zip's path.
#
# No `set -e`: every step is checked and a failing one is named on stderr (status 1).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
export BTL_BUILD=$build
dist=${BTL_DIST:-$root/dist}  # the tests give a folder of their own

fail() {
  echo "package: $1" >&2
  exit 1
}

mkdir -p "$build" || fail "cannot make the build folder $build"
log=$build/package_build.log
if ! bash "$root/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  fail "the build failed; its whole output is in $log"
fi

version=$(sed -nE 's/^#define BTL_VERSION_(MAJOR|MINOR|PATCH) ([0-9]+)$/\2/p' "$root/base/version.h" | paste -sd.)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no version in base/version.h (found \"$version\")"
name=btl_editor-$version

guide=$root/docs/用户指南.md
[ -f "$guide" ] || fail "the user guide $guide is missing"
[ -d "$root/docs/images" ] || fail "the guide's pictures folder $root/docs/images is missing (scripts/screenshots.sh makes it)"

editor=$build/win/app/btl_editor.exe
companion=$build/win/btl/btl.exe
for exe in "$editor" "$companion"; do [ -f "$exe" ] || fail "$exe was not built"; done

# A staging folder of this run's own, so two runs side by side do not mix their files.
staging=$(mktemp -d "$build/package.XXXXXX") || fail "cannot make a staging folder in $build"
trap 'rm -rf "$staging"' EXIT
stage=$staging/$name
mkdir "$stage" || fail "cannot make the staging folder $stage"

# The programs without their debugging information, and with no DLL beyond Windows' own
# (bcrypt: the system's cryptography, for the recovery file's SHA-256, in Windows since Vista).
system_dlls='^(kernel32|user32|gdi32|gdiplus|comdlg32|comctl32|ole32|oleaut32|shell32|advapi32|bcrypt|msvcrt|version|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
for exe in "$editor" "$companion"; do
  out=$stage/$(basename "$exe")
  x86_64-w64-mingw32-strip -o "$out" "$exe" || fail "stripping $exe"
  dlls=$(x86_64-w64-mingw32-objdump -p "$out" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || fail "reading the imports of $out"
  others=$(grep -vE "$system_dlls" <<<"$dlls")
  [ -z "$others" ] || fail "$(basename "$exe") needs DLLs that Windows does not have: $others"
done

"$build/native/tools/demo_data/make_demo_data" "$stage/示例" >/dev/null || fail "generating the demo data"

python=/usr/bin/python3  # Debian's, which has python3-markdown
"$python" "$root/scripts/package_files.py" guide "$guide" "$stage/用户指南.html" || fail "rendering the user guide"
cp "$guide" "$stage/用户指南.md" && cp -r "$root/docs/images" "$stage/images" || fail "copying the user guide"

# Text for Notepad: CRLF line ends and a UTF-8 byte order mark.
notepad_text() {
  { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$1"; } >"$2"
}
notepad_text "$root/docs/说明.txt" "$stage/说明.txt" && notepad_text "$root/LICENSE" "$stage/LICENSE.txt" ||
  fail "writing 说明.txt and LICENSE.txt"

mkdir -p "$dist" || fail "cannot make $dist"
"$python" "$root/scripts/package_files.py" zip "$stage" "$dist/$name.zip" || fail "writing $dist/$name.zip"
echo "$dist/$name.zip"
