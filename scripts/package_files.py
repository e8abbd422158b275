"""Two steps of scripts/package.sh that want a library.

  package_files.py guide GUIDE.md OUT.html   the user guide as one standalone UTF-8 page
  package_files.py zip FOLDER OUT.zip        FOLDER's files in a zip, names in UTF-8

Run with Debian's python3 (python3-markdown). Each step fails with a sentence on stderr.
"""
import html
import os
import re
import sys
import time
import zipfile

import markdown

PAGE = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: "Microsoft YaHei", "PingFang SC", "WenQuanYi Zen Hei", sans-serif;
       max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.6; color: #222; }}
img {{ max-width: 100%; border: 1px solid #ccc; }}
code, pre {{ font-family: Consolas, "Courier New", monospace; background: #f4f4f4; }}
pre {{ padding: 0.6em; overflow-x: auto; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #ccc; padding: 0.3em 0.6em; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def heading_id(text, separator):
    """A heading's id as the guide's links spell it: lower case, Chinese and other letters
    and digits kept, punctuation (（P） and the like) dropped, spaces made the separator."""
    kept = re.sub(r"[^\w\- ]", "", text.strip().lower())
    return re.sub(r" +", separator, kept)


def guide(source, out):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    folder = os.path.dirname(source)
    # Every picture the guide shows must be there: a page with a broken picture is no guide.
    missing = [p for p in re.findall(r"!\[[^\]]*\]\(([^)\s]+)", text)
               if not re.match(r"[a-z]+:", p) and not os.path.isfile(os.path.join(folder, p))]
    if missing:
        sys.exit("package: the guide shows pictures that are missing: " + ", ".join(missing))
    heading = re.search(r"^#\s+(.+)$", text, re.M)
    title = heading.group(1).strip() if heading else "用户指南"
    body = markdown.markdown(text, extensions=["extra", "toc", "sane_lists"],
                             extension_configs={"toc": {"slugify": heading_id}})
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(PAGE.format(title=html.escape(title), body=body))


def make_zip(folder, out):
    # One fixed time for every entry, so the same files give the same zip.
    stamp = time.gmtime(int(os.environ.get("SOURCE_DATE_EPOCH", "1767225600")))[:6]
    entries = []
    for here, dirs, files in os.walk(folder):
        dirs.sort()
        rel = os.path.relpath(here, folder)
        if rel != ".":
            entries.append(rel.replace(os.sep, "/") + "/")
        entries += [os.path.normpath(os.path.join(rel, f)).replace(os.sep, "/") for f in sorted(files)]
    partial = "%s.%d.part" % (out, os.getpid())
    # zipfile sets the "names are UTF-8" flag (bit 11) on every entry whose name is not ASCII.
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in entries:
            info = zipfile.ZipInfo(name, stamp)
            if name.endswith("/"):
                info.external_attr = 0o40755 << 16 | 0x10  # a folder, for both kinds of reader
                z.writestr(info, b"")
            else:
                info.external_attr = 0o644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(os.path.join(folder, name), "rb") as f:
                    z.writestr(info, f.read())
    os.replace(partial, out)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "guide":
        guide(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "zip":
        make_zip(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
