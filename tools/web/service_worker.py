#!/usr/bin/env python3
"""Writes the page's service worker with the list of every file of the site and a cache
named for the game's version and the files' contents, then packs the site into a zip
with the site at its root, for any static host.

usage: service_worker.py TEMPLATE.js SITE_FOLDER VERSION ZIP"""
import hashlib
import os
import sys
import zipfile

WORKER = "sw.js"


def main():
    template, site, version, zip_path = sys.argv[1:5]
    names = sorted(n for n in os.listdir(site) if n != WORKER and os.path.isfile(os.path.join(site, n)))
    digest = hashlib.sha256()
    for n in names:
        digest.update(n.encode() + b"\0")
        with open(os.path.join(site, n), "rb") as f:
            digest.update(f.read())
    cache = f"kelto1-web-{version}-{digest.hexdigest()[:12]}"
    # "./" is the page as a folder's address brings it.
    files = ", ".join(f"'{n}'" for n in ["./"] + names)
    with open(template, encoding="utf-8") as f:
        text = f.read()
    if "@CACHE@" not in text or "@FILES@" not in text:
        raise SystemExit(f"service_worker.py: {template} lacks @CACHE@ or @FILES@")
    text = text.replace("@CACHE@", cache).replace("@FILES@", files)
    out = os.path.join(site, WORKER)
    with open(out + ".new", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(out + ".new", out)

    # The release: the same files, relative to the zip's root, nothing else.
    with zipfile.ZipFile(zip_path + ".new", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for n in names + [WORKER]:
            z.write(os.path.join(site, n), n)
    os.replace(zip_path + ".new", zip_path)
    print(f"{cache}: {len(names) + 1} files, {os.path.basename(zip_path)}")


if __name__ == "__main__":
    main()
