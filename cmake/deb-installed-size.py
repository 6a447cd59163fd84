#!/usr/bin/env python3
"""Sets a .deb's Installed-Size from what the package holds, not from the disk it was made on.

CPack adds up the sizes on disk of the files and folders it staged, and a folder's size is
the file system's own: 4096 bytes on ext4, less on tmpfs, something else again on btrfs or
XFS. The same package made on two file systems would differ. Here every folder counts as on
ext4, so the value is the one CPack gives on Debian's usual file system, whatever the disk.
The control tarball is written again with its members as they were; the ar headers' times
and modes are left to strip-nondeterminism.

usage: deb-installed-size.py PACKAGE.deb
"""

import gzip
import io
import re
import sys
import tarfile

FOLDER_SIZE = 4096


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = f.read()
    assert data.startswith(b"!<arch>\n"), path + ": not a Debian package"
    members, at = [], 8
    while at < len(data):
        header = data[at : at + 60]
        size = int(header[48:58])
        members.append([header, data[at + 60 : at + 60 + size]])
        at += 60 + size + size % 2

    def tarball(prefix):
        (member,) = [m for m in members if m[0].startswith(prefix)]
        return member, tarfile.open(fileobj=io.BytesIO(member[1]))

    _, payload = tarball(b"data.tar")
    entries = payload.getmembers()
    total = sum(e.size for e in entries if e.isfile()) + FOLDER_SIZE * sum(
        1 for e in entries if e.isdir()
    )
    installed_size = (total + 1023) // 1024

    control_member, control = tarball(b"control.tar.gz")
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.GNU_FORMAT) as rewritten:
        for entry in control.getmembers():
            body = control.extractfile(entry).read() if entry.isfile() else None
            if entry.name.lstrip("./") == "control":
                body = re.sub(
                    rb"(?m)^Installed-Size: \d+$", b"Installed-Size: %d" % installed_size, body
                )
                entry.size = len(body)
            rewritten.addfile(entry, io.BytesIO(body) if body is not None else None)
    body = gzip.compress(out.getvalue(), compresslevel=9, mtime=0)
    control_member[0] = control_member[0][:48] + b"%-10d" % len(body) + control_member[0][58:]
    control_member[1] = body

    with open(path, "wb") as f:
        f.write(b"!<arch>\n")
        for header, body in members:
            f.write(header + body + b"\n" * (len(body) % 2))


if __name__ == "__main__":
    main()
