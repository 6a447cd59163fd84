#!/usr/bin/env python3
"""Checks of what Veltrin ships, beyond the program itself.

usage: check.py install BUILD_DIR    install into a temporary prefix and validate it
       check.py deb BUILD_DIR        build the Debian package, check its metadata and files,
                                     and have lintian check it against Debian's policy
       check.py cli BINARY           --help, --version and a wrong option, with no display
       check.py zip BUILD_DIR        build the Windows download and check what it holds: the
                                     program's imports, icon, version block and manifest
"""

import glob
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

import pefile  # Debian's python3-pefile: the Windows program's headers and resources

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


# What a Windows program may import: Windows' own DLLs, nothing that would have to be shipped
# beside it (no libstdc++, libgcc or winpthread).
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll"}


def check_exe(exe):
    """The program's headers and resources, read with pefile: a GUI program importing only
    Windows' own DLLs, its icon, its version block and its manifest."""
    pe = pefile.PE(exe)
    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    assert imports <= WINDOWS_DLLS, imports
    assert pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]

    def resources(kind):
        return [pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
                for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries
                if entry.id == pefile.RESOURCE_TYPE[kind]
                for name in entry.directory.entries for leaf in name.directory.entries]

    group, = resources("RT_GROUP_ICON")
    images = [struct.unpack_from("<BBBBHH", group, 6 + 14 * i)
              for i in range(struct.unpack_from("<H", group, 4)[0])]
    assert [(w, h, bits) for w, h, _, _, _, bits in images] == [(32, 32, 1), (32, 32, 4),
                                                                 (16, 16, 4)], images
    assert len(resources("RT_ICON")) == 3

    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS,
            fixed.ProductVersionLS) == (0x10000, 0, 0x10000, 0)
    tables = [t for i in pe.FileInfo[0] for t in getattr(i, "StringTable", [])]
    assert [t.LangID for t in tables] == [b"040904B0"], tables  # English (US), Unicode
    strings = {k.decode(): v.decode() for k, v in tables[0].entries.items()}
    assert strings == {"CompanyName": "Veltrin maintainers", "FileDescription": "Veltrin",
                       "FileVersion": "1.00", "InternalName": "Veltrin",
                       "OriginalFilename": "Veltrin.exe", "ProductName": "Veltrin",
                       "ProductVersion": "1.00"}, strings
    translations = [v.entry for i in pe.FileInfo[0] for v in getattr(i, "Var", [])]
    assert translations == [{b"Translation": "0x0409 0x04b0"}], translations

    manifest, = resources("RT_MANIFEST")
    for needed in (b"<dpiAwareness", b"PerMonitorV2", b"Microsoft.Windows.Common-Controls",
                   b'version="6.0.0.0"'):
        assert needed in manifest, needed
    print("%s: imports %s; version block 1.0.0.0, en-US, Unicode: %s"
          % (exe, sorted(imports), strings))


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
        check_exe(exe)


def main():
    command, target = sys.argv[1], os.path.abspath(sys.argv[2])
    {"install": check_install, "deb": check_deb,
     "cli": check_cli, "zip": check_zip}[command](target)
    print("passed")


if __name__ == "__main__":
    main()
