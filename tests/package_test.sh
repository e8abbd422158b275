#!/usr/bin/env bash
# The release package as a user gets it: scripts/package.sh writes the zip (into a folder of
# this run's own); its name carries the one version, its entries are the ones 说明.txt
# promises with UTF-8 names flagged as such, and both programs carry that version in their
# version resource. Unzipped into a folder whose path holds spaces and Chinese, with the two
# programs copied into 示例 as 说明.txt says, `btl.exe check` passes the small demo scenario
# under Wine and the editor opens it up to its main window (on a virtual display of its own),
# which carries the program's icon. Prints "package: N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/../scripts/lib/harness.bash"

work=$(mktemp -d)
trap 'e2e_finish package' EXIT
e2e_begin || exit 1

version=$(sed -nE 's/^#define BTL_VERSION_(MAJOR|MINOR|PATCH) ([0-9]+)$/\2/p' "$root/base/version.h" | paste -sd.)
zip=$(BTL_DIST="$work/dist" bash "$root/scripts/package.sh" | tail -n1)
check "package.sh writes dist/btl_editor-VERSION.zip" test "$zip" = "$work/dist/btl_editor-$version.zip" -a -s "$zip"
check "btl --version gives the same version" \
  test "$("$build/native/btl/btl" --version)" = "btl $version"
[ -s "$zip" ] || exit 1

# The zip's entries, flags and text files, read with Python's zipfile.
zip_facts() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = z.namelist()
problems = []
need = ["btl_editor.exe", "btl.exe", "说明.txt", "LICENSE.txt", "用户指南.html", "用户指南.md",
        "images/", "示例/", "示例/数据/", "示例/图片/", "示例/数据/world.bin", "示例/数据/配置.ini",
        "示例/demo_small.btl", "示例/demo_large.btl", "示例/demo_messy.btl"]
problems += ["missing " + n for n in need if n not in names]
if not any(n.startswith("images/") and n.endswith(".png") for n in names):
    problems.append("no picture under images/")
if not any(n.startswith("示例/图片/") and n.endswith(".png") for n in names):
    problems.append("no picture under 示例/图片/")
for info in z.infolist():
    utf8 = bool(info.flag_bits & 0x800)
    if not info.filename.isascii() and not utf8:
        problems.append("UTF-8 flag not set on " + info.filename)
if not any(not n.isascii() for n in names):
    problems.append("no Chinese name at all")
for text in ["说明.txt", "LICENSE.txt"]:
    if text not in names:
        continue
    data = z.read(text)
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append(text + " has no byte order mark")
    if data.count(b"\n") != data.count(b"\r\n") or data.count(b"\r") != data.count(b"\r\n"):
        problems.append(text + " has line ends other than CRLF")
    data.decode("utf-8")
note = z.read("说明.txt").decode("utf-8-sig") if "说明.txt" in names else ""
for word in ["数据\\", "图片\\", "示例\\", "btl_editor.exe", "Ctrl+Z", "报告问题"]:
    if word not in note:
        problems.append("说明.txt does not mention " + word)
page = z.read("用户指南.html").decode("utf-8") if "用户指南.html" in names else ""
if '<meta charset="utf-8">' not in page:
    problems.append("the guide's page does not say it is UTF-8")
import re
for src in re.findall(r'<img[^>]* src="([^"]+)"', page):
    if src not in names:
        problems.append("the guide's page shows a picture the zip lacks: " + src)
# Every link of the page goes somewhere: a heading's id on the page, or a file in the zip.
import html, urllib.parse
ids = set(html.unescape(i) for i in re.findall(r'\sid="([^"]+)"', page))
links = re.findall(r'<a\s[^>]*href="([^"]+)"', page)
if not links:
    problems.append("the guide's page has no links")
for link in links:
    target = urllib.parse.unquote(html.unescape(link))
    if target.startswith("#"):
        if target[1:] not in ids:
            problems.append("the guide's link goes to no heading: " + target)
    elif not re.match(r"[a-z]+:", target) and target.split("#")[0] not in names:
        problems.append("the guide's link names a file the zip lacks: " + target)
print("\n".join(problems) if problems else "ok")
PY
}
facts=$(zip_facts "$zip")
check "the zip holds the programs, guide, read-me, license and demo data, names flagged UTF-8 ($facts)" \
  test "$facts" = ok

dest="$work/发布 测试/解 压"
mkdir -p "$dest"
check "unzip reads the Chinese names back" unzip -q "$zip" -d "$dest"
demo=$dest/示例
check "the demo folder holds 数据 and 图片" test -d "$demo/数据" -a -d "$demo/图片" -a -f "$demo/demo_small.btl"

# The version resource of each program, as windres reads it back from the unzipped file.
# Chinese text comes back as \xNNNN escapes of its UTF-16 units.
escaped() { /usr/bin/python3 -c 'import sys; print("".join(c if c.isascii() else "\\x%x" % ord(c) for c in sys.argv[1]))' "$1"; }
version_resource_says() {
  local rc commas=${version//./, }
  rc=$(x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null) || return 1
  grep -qF "FILEVERSION $commas, 0" <<<"$rc" && grep -qF "PRODUCTVERSION $commas, 0" <<<"$rc" &&
    grep -qF "VALUE \"FileVersion\", \"$version\"" <<<"$rc" &&
    grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$rc" &&
    grep -qF "VALUE \"FileDescription\", L\"$(escaped "$2")\"" <<<"$rc" &&
    grep -qF "BLOCK \"080404B0\"" <<<"$rc"
}
check "btl_editor.exe's version resource" version_resource_says "$dest/btl_editor.exe" "战役文件编辑器"
check "btl.exe's version resource" version_resource_says "$dest/btl.exe" "战役文件命令行工具"
# The editor's icon group, as windres lists it: sizes 16, 24, 32, 48, 64 and 256 (written 0),
# in octal escapes, each a 32-bit entry.
icon_group_sizes() {
  x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null | sed -n '/RT_GROUP_ICON/,/^END/p' |
    sed -nE 's/^ *"\\([0-7]{3})\\[0-7]{3}\\000\\000", 1, 32, .*/\1/p' | paste -sd' '
}
check "btl_editor.exe's icon holds sizes 16 to 256 ($(icon_group_sizes "$dest/btl_editor.exe"))" \
  test "$(icon_group_sizes "$dest/btl_editor.exe")" = "020 030 040 060 100 000"

# Run where 说明.txt tells users to: the programs copied into 示例.
cp "$dest/btl_editor.exe" "$dest/btl.exe" "$demo/"
e2e_start_display || { check "a virtual display" false; exit 1; }
(cd "$demo" && timeout 120 bash -c 'source "$0"; wine_zh btl.exe check demo_small.btl' \
   "$root/scripts/lib/harness.bash" >"$work/check.log" 2>&1)
status=$?
check "btl.exe check passes demo_small.btl in the unzipped folder (status $status)" test "$status" -eq 0
check "btl.exe check reports on the file" test -s "$work/check.log"

# The icons Wine gives the X window (_NET_WM_ICON: width, height, then ARGB pixels, for each
# size), as "WxH" words, each followed by "with the flag" when it holds the icon's flag red
# (0xD83028, tools/icon): the system's stand-in icon has no such pixel.
window_icons() {
  xprop -notype -id "$1" 32c _NET_WM_ICON 2>/dev/null | /usr/bin/python3 -c '
import sys
text = sys.stdin.read()
values = [int(v) for v in text.split("=", 1)[1].replace(",", " ").split()] if "=" in text else []
words = []
while len(values) >= 2:
    w, h = values[0], values[1]
    pixels, values = values[2:2 + w * h], values[2 + w * h:]
    flag = any(p & 0xFFFFFFFF == 0xFFD83028 for p in pixels)
    words.append("%dx%d%s" % (w, h, " with the flag" if flag else ""))
print(", ".join(words) or "none")'
}

editor_exe=$demo/btl_editor.exe
e2e_start_editor "$demo"
# By name: the open dialog starts in the editor's folder, and its path holds Chinese.
main=$(e2e_open_to_main demo_small.btl)
check "the unzipped editor opens demo_small.btl up to its main window" test -n "$main"
if [ -n "$main" ]; then
  check "the main window is still open" e2e_editor_running
  check "the main window's title is the program's name" \
    test "$(xdotool getwindowname "$main" 2>/dev/null)" = btl_editor
  icons=$(window_icons "$main")
  check "the main window shows the program's icon ($icons)" grep -q "with the flag" <<<"$icons"
fi
