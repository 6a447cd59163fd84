#!/usr/bin/env python3
"""Checks of what Veltrin ships, beyond the program itself.

usage: check.py install BUILD_DIR    install into a temporary prefix and validate it
       check.py deb BUILD_DIR        build the Debian package, check its metadata and files,
                                     and have lintian check it against Debian's policy
       check.py cli BINARY           --help, --version and a wrong option, with no display
       check.py windres RC_FILE      compile the Windows resources and check icon, version
                                     and manifest
       check.py zip BUILD_DIR        build the Windows download and check what it holds
"""

import glob
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

APP_ID = "example.veltrin.Veltrin"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SHIPPED = (["games/veltrin", "share/applications/%s.desktop" % APP_ID,
            "share/metainfo/%s.metainfo.xml" % APP_ID, "share/man/man6/veltrin.6.gz",
            "share/doc/veltrin/copyright", "share/doc/veltrin/changelog.gz",
            "share/icons/hicolor/scalable/apps/%s.svg" % APP_ID]
           + ["share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID) for s in ICON_SIZES])


def run(args, status=0, **kwargs):
    done = subprocess.run(args, capture_output=True, text=True, **kwargs)
    output = (done.stdout + done.stderr).strip()
    print("$ %s\n%s" % (" ".join(args), output), flush=True)
    assert done.returncode == status, "%s exited with %d" % (args[0], done.returncode)
    return done


def check_install(build):
    with tempfile.TemporaryDirectory() as prefix:
        run(["cmake", "--install", build, "--prefix", prefix])
        for path in SHIPPED:
            assert os.path.isfile(os.path.join(prefix, path)), "not installed: " + path
        run(["desktop-file-validate",
             os.path.join(prefix, "share/applications/%s.desktop" % APP_ID)])
        out = run(["appstreamcli", "validate", "--no-net",
                   os.path.join(prefix, "share/metainfo/%s.metainfo.xml" % APP_ID)]).stdout
        assert "Validation was successful" in out
        page = run(["man", "--warnings", "-l",
                    os.path.join(prefix, "share/man/man6/veltrin.6.gz")])
        assert page.stderr == "", page.stderr
        text = re.sub(".\b", "", page.stdout)  # the terminal's overstrikes for bold
        for heading in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "FILES",
                        "SEE ALSO"):
            assert "\n" + heading + "\n" in text, heading


def check_deb(build):
    with tempfile.TemporaryDirectory() as out:
        run(["cpack", "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
             "-B", out], cwd=build)
        debs = glob.glob(os.path.join(out, "*.deb"))
        assert len(debs) == 1, debs
        fields = run(["dpkg-deb", "-f", debs[0], "Package", "Version", "Section",
                      "Depends", "Maintainer", "Homepage"]).stdout
        info = dict(line.split(": ", 1) for line in fields.splitlines())
        assert info["Package"] == "veltrin", info
        assert info["Version"] == "1.00", info
        assert info["Section"] == "games", info  # and so the program is in /usr/games
        assert info["Maintainer"] and info["Homepage"], info
        for library in ("libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6", "libstdc++6",
                        "qt6-qpa-plugins"):
            assert library in info["Depends"], (library, info["Depends"])
        listing = run(["dpkg-deb", "-c", debs[0]]).stdout
        for path in SHIPPED:
            assert "./usr/" + path in listing, "not packaged: " + path
        # Errors and warnings break the policy; infos are advice (see the README).
        report = run(["lintian", "--no-cfg", debs[0]]).stdout
        bad = [line for line in report.splitlines() if line.startswith(("E:", "W:"))]
        assert not bad, bad


def check_cli(binary):
    """The command line is read before anything needs a window system."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}

    def veltrin(*args, status=0):
        return run([binary, *args], status=status, env=env, timeout=30)

    for option in ("--version", "-v"):
        done = veltrin(option)
        assert done.stdout == "Veltrin 1.00\n" and done.stderr == "", done
    done = veltrin("--help")
    assert done.stdout.startswith("Usage: %s [options]\n" % binary), done.stdout
    for line in ("-h, --help", "-v, --version"):
        assert line in done.stdout, line
    assert "-platform" not in done.stdout and done.stderr == "", done
    # Qt's own options are not mistaken for ours, with or without a value.
    done = veltrin("-platform", "offscreen", "-style=fusion", "-reverse", "--version")
    assert done.stdout == "Veltrin 1.00\n", done
    for wrong, error in ((["--frobnicate"], "Unknown option 'frobnicate'."),
                         (["stray"], "Unexpected argument 'stray'.")):
        done = veltrin(*wrong, status=2)
        assert done.stdout == "", done
        assert done.stderr.startswith("Veltrin: %s\n\nUsage: " % error), done.stderr


def resources(data):
    """(type, name, bytes) of each resource in a compiled .res file."""
    def ident(at):
        if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, at + 2)[0], at + 4
        end = at
        while struct.unpack_from("<H", data, end)[0]:
            end += 2
        return data[at:end].decode("utf-16-le"), end + 2

    found, at = [], 0
    while at < len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, after = ident(at + 8)
        name, _ = ident(after)
        found.append((kind, name, data[at + header:at + header + size]))
        at += header + size
        at += -at % 4
    return found


def version_strings(version):
    """The StringFileInfo values of a version resource, key by key: each String is a length,
    a value length (in UTF-16 units), a type, its key and then its value, each NUL-ended
    and starting on a 32-bit boundary."""
    strings = {}
    table = version.index("040904B0".encode("utf-16-le"))
    at = (table + 18 + 3) & ~3  # past the table's key and its NUL
    end = table - 6 + struct.unpack_from("<H", version, table - 6)[0]
    while at < end:
        length, value_length, _ = struct.unpack_from("<HHH", version, at)
        key_end = version.index(b"\0\0", at + 6)
        while (key_end - at) % 2:
            key_end = version.index(b"\0\0", key_end + 1)
        key = version[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value = version[value_at:value_at + 2 * value_length].decode("utf-16-le")
        strings[key] = value.rstrip("\0")
        at = (at + length + 3) & ~3
    return strings


def check_windres(rc):
    with tempfile.TemporaryDirectory() as out:
        res = os.path.join(out, "veltrin.res")
        run(["x86_64-w64-mingw32-windres", "--preprocessor=cpp", "--preprocessor-arg=-xc",
             "--preprocessor-arg=-DRC_INVOKED", "-i", rc, "-O", "res", "-o", res],
            cwd=os.path.dirname(rc))
        with open(res, "rb") as f:
            found = resources(f.read())

    RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
    icons = [r for r in found if r[0] == RT_ICON]
    groups = [r for r in found if r[0] == RT_GROUP_ICON]
    assert len(icons) == 3 and len(groups) == 1, [(r[0], r[1]) for r in found]
    group = groups[0][2]
    count = struct.unpack_from("<H", group, 4)[0]
    entries = []
    for i in range(count):
        width, height, _, _, _, bits = struct.unpack_from("<BBBBHH", group, 6 + 14 * i)
        entries.append((width, height, bits))
    print("icon images (width, height, bits per pixel):", entries)
    assert entries == [(32, 32, 1), (32, 32, 4), (16, 16, 4)], entries

    version = [r for r in found if r[0] == RT_VERSION][0][2]
    fixed = version.index(struct.pack("<I", 0xFEEF04BD))
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", version, fixed + 8)
    assert (file_ms, file_ls, product_ms, product_ls) == (0x10000, 0, 0x10000, 0)
    strings = version_strings(version)
    expected = {"CompanyName": "Veltrin maintainers", "FileDescription": "Veltrin",
                "FileVersion": "1.00", "InternalName": "Veltrin",
                "OriginalFilename": "Veltrin.exe", "ProductName": "Veltrin",
                "ProductVersion": "1.00"}
    assert strings == expected, strings
    assert "040904B0".encode("utf-16-le") in version  # English (US), Unicode
    assert struct.pack("<HH", 0x409, 1200) in version
    print("version block: 1.0.0.0, English (United States), Unicode")

    RT_MANIFEST = 24
    manifest = [r[2] for r in found if r[0] == RT_MANIFEST and r[1] == 1]
    assert manifest, "no application manifest"
    for needed in (b"<dpiAwareness", b"PerMonitorV2", b"Microsoft.Windows.Common-Controls",
                   b'version="6.0.0.0"'):
        assert needed in manifest[0], needed


# What a Windows program may import: Windows' own DLLs, nothing that would have to be shipped
# beside it (no libstdc++, libgcc or winpthread).
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll"}


def check_zip(build):
    with tempfile.TemporaryDirectory() as out:
        run(["cpack", "-G", "ZIP", "--config", os.path.join(build, "CPackConfig.cmake"),
             "-B", out], cwd=build)
        path = os.path.join(out, "Veltrin-1.00-win64.zip")
        with zipfile.ZipFile(path) as z:
            names = sorted(z.namelist())
            top = "Veltrin-1.00-win64/"
            assert names == [top + n for n in ("LICENSE.txt", "README.txt", "Veltrin.exe")], names
            for text in ("LICENSE.txt", "README.txt"):
                data = z.read(top + text)
                assert data.count(b"\n") == data.count(b"\r\n") > 0, text
            exe = os.path.join(out, "Veltrin.exe")
            with open(exe, "wb") as f:
                f.write(z.read(top + "Veltrin.exe"))
        print("zip: %d bytes, Veltrin.exe %d bytes" % (os.path.getsize(path),
                                                        os.path.getsize(exe)))
        headers = run(["x86_64-w64-mingw32-objdump", "-p", exe]).stdout
        imports = {m.lower() for m in re.findall(r"DLL Name: (\S+)", headers)}
        assert imports <= WINDOWS_DLLS, imports
        assert re.search(r"Subsystem\s+00000002", headers), "not a GUI program"


def main():
    command, target = sys.argv[1], os.path.abspath(sys.argv[2])
    {"install": check_install, "deb": check_deb, "windres": check_windres,
     "cli": check_cli, "zip": check_zip}[command](target)
    print("passed")


if __name__ == "__main__":
    main()
