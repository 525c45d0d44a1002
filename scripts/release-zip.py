"""Packs a folder into a zip file that depends on nothing but the files'
contents and one given time: entries in sorted order, every entry dated at
that time, no owners, permissions or extra fields of the machine that made it.

Usage: release-zip.py FOLDER ZIP EPOCH
  FOLDER  its last component becomes the zip's top folder
  EPOCH   the entries' time, in seconds since 1970 (UTC), 1980 or later
"""

import os
import sys
import time
import zipfile


def entry(name, date_time, is_folder):
    info = zipfile.ZipInfo(name, date_time)
    # MS-DOS attributes only: archive for files, directory for folders.
    info.create_system = 0
    info.external_attr = 0x10 if is_folder else 0x20
    info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    folder, zip_path, epoch = os.path.abspath(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    date_time = time.gmtime(epoch)[:6]
    if date_time[0] < 1980:
        sys.exit(f"{epoch} is before 1980, which zip files cannot date")
    top = os.path.basename(folder)
    names = []
    for path, folders, files in os.walk(folder):
        folders.sort()
        rel = os.path.relpath(path, os.path.dirname(folder)).replace(os.sep, "/")
        names.append((rel + "/", None))
        names.extend((f"{rel}/{f}", os.path.join(path, f)) for f in files)
    names.sort()
    assert names[0][0] == top + "/"
    with zipfile.ZipFile(zip_path + ".new", "w") as z:
        for name, path in names:
            if path is None:
                z.writestr(entry(name, date_time, True), b"")
            else:
                with open(path, "rb") as f:
                    z.writestr(entry(name, date_time, False), f.read(), compresslevel=9)
    os.replace(zip_path + ".new", zip_path)


if __name__ == "__main__":
    main()
