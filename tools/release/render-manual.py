#!/usr/bin/python3
"""Renders docs/manual.md into one self-contained HTML file.

Usage: render-manual.py VERSION FILE_VERSION [OUT]   (OUT: docs/manual.html)

Debian's python3-markdown converts the text (tables, heading anchors); the
SVG and PNG pictures it links are then embedded as data URIs, so that the file opens
straight from the archive. @VERSION@ and @FILE_VERSION@ in the text become the
release's version.
"""
import base64
import os
import re
import sys

import markdown

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
docs = os.path.join(root, "docs")
if len(sys.argv) not in (3, 4):
    sys.exit("usage: render-manual.py VERSION FILE_VERSION [OUT]")
version, file_version = sys.argv[1], sys.argv[2]
out = sys.argv[3] if len(sys.argv) == 4 else os.path.join(docs, "manual.html")

with open(os.path.join(docs, "manual.md"), encoding="utf-8") as f:
    text = f.read().replace("@VERSION@", version).replace("@FILE_VERSION@", file_version)
body = markdown.markdown(text, extensions=["tables", "toc", "fenced_code"], output_format="html")


TYPES = {".svg": "image/svg+xml", ".png": "image/png"}


def embed(match):
    path = os.path.normpath(os.path.join(docs, match.group(1)))
    kind = TYPES.get(os.path.splitext(path)[1])
    if not path.startswith(docs + os.sep) or not kind:
        sys.exit("render-manual: picture outside docs/ or neither SVG nor PNG: " + match.group(1))
    with open(path, "rb") as f:
        data = base64.b64encode(f.read()).decode("ascii")
    return 'src="data:%s;base64,%s"' % (kind, data)


body = re.sub(r'src="([^"]+)"', embed, body)
title = "Tervolin %s: user manual" % version
page = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%s</title>
<style>
body { font-family: "Segoe UI", Arial, sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1.5em;
       line-height: 1.45; color: #222; }
h1 { border-bottom: 2px solid #3a6ea5; padding-bottom: .2em; }
h2 { border-bottom: 1px solid #ccc; padding-bottom: .15em; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #ccc; padding: .35em .6em; vertical-align: top; text-align: left; }
th { background: #eef3f8; }
code, pre { background: #f4f4f4; font-family: Consolas, monospace; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%%; border: 1px solid #ddd; margin: .4em 0; display: block; }
</style>
</head>
<body>
%s
</body>
</html>
""" % (title, body)
with open(out, "w", encoding="utf-8", newline="\n") as f:
    f.write(page)
