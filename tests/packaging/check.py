#!/usr/bin/env python3
"""Checks of what Veltrin ships, beyond the program itself.

usage: check.py install BUILD_DIR    install into a temporary prefix and validate it
       check.py deb BUILD_DIR        build the Debian package, check its metadata and files,
                                     and have lintian check it against Debian's policy
       check.py cli BINARY           --help, --version and a wrong option, with no display
       check.py zip BUILD_DIR        build the Windows download and check what it holds: the
                                     program's imports, icon, version block and manifest
       check.py reproducible BUILD_DIR
                                     package the build twice, under another umask, time zone,
                                     locale and file system: the same bytes, every time in
                                     them SOURCE_DATE_EPOCH, no build path in anything they hold
VELTRIN_VERSION in the environment is the version the build gives (CMake's VELTRIN_VERSION).
"""

import base64
import calendar
import glob
import io
import os
import re
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

import pefile  # Debian's python3-pefile: the Windows program's headers and resources

VERSION = os.environ["VELTRIN_VERSION"]  # the build's, as CTest passes it on
APP_ID = "example.veltrin.Veltrin"
DESKTOP = "share/applications/%s.desktop" % APP_ID
METAINFO = "share/metainfo/%s.metainfo.xml" % APP_ID
MAN_PAGE = "share/man/man6/veltrin.6.gz"
ICONS = ["scalable/apps/%s.svg" % APP_ID] + [
    "%dx%d/apps/%s.png" % (s, s, APP_ID) for s in (16, 22, 24, 32, 48, 64, 128, 256)
]
SHIPPED = ["games/veltrin", DESKTOP, METAINFO, MAN_PAGE, "share/doc/veltrin/copyright"]
SHIPPED += ["share/doc/veltrin/changelog.gz"] + ["share/icons/hicolor/" + i for i in ICONS]


def run(args, status=0, **kwargs):
    done = subprocess.run(args, capture_output=True, text=True, **kwargs)
    print("$ %s\n%s" % (" ".join(args), (done.stdout + done.stderr).strip()), flush=True)
    assert done.returncode == status, "%s exited with %d" % (args[0], done.returncode)
    return done


def pack(build, generator, out, **kwargs):
    """Runs CPack on the build, writing into out; returns the one package it wrote."""
    config = os.path.join(build, "CPackConfig.cmake")
    run(["cpack", "-G", generator, "--config", config, "-B", out], cwd=build, **kwargs)
    (package,) = glob.glob(os.path.join(out, "*." + generator.lower()))
    return package


def source_of(build):
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        return re.search(r"^CMAKE_HOME_DIRECTORY:INTERNAL=(.*)$", f.read(), re.M).group(1)


def check_install(build):
    with tempfile.TemporaryDirectory() as prefix:
        run(["cmake", "--install", build, "--prefix", prefix])
        for path in SHIPPED:
            assert os.path.isfile(os.path.join(prefix, path)), "not installed: " + path
        run(["desktop-file-validate", os.path.join(prefix, DESKTOP)])
        out = run(["appstreamcli", "validate", "--no-net", os.path.join(prefix, METAINFO)]).stdout
        assert "Validation was successful" in out
        # Each in every language of po/LINGUAS, as the menus and software centres show them.
        with open(os.path.join(source_of(build), "po/LINGUAS")) as f:
            languages = f.read().split()
        for path, translated in ((DESKTOP, "Comment[%s]="), (METAINFO, '<summary xml:lang="%s">')):
            with open(os.path.join(prefix, path), encoding="utf-8") as f:
                text = f.read()
            lacking = [lang for lang in languages if translated % lang not in text]
            assert not lacking, "%s: not in %s" % (path, lacking)
        page = run(["man", "--warnings", "-l", os.path.join(prefix, MAN_PAGE)])
        assert page.stderr == "", page.stderr
        text = re.sub(".\b", "", page.stdout)  # the terminal's overstrikes for bold
        for heading in "NAME|SYNOPSIS|DESCRIPTION|OPTIONS|EXIT STATUS|FILES|SEE ALSO".split("|"):
            assert "\n" + heading + "\n" in text, heading


def check_deb(build):
    with tempfile.TemporaryDirectory() as out:
        deb = pack(build, "DEB", out)
        assert os.path.basename(deb) == "veltrin_%s_amd64.deb" % VERSION, deb
        fields = "Package Version Section Depends Maintainer Homepage".split()
        control = run(["dpkg-deb", "-f", deb, *fields]).stdout
        info = dict(line.split(": ", 1) for line in control.splitlines())
        wanted = {"Package": "veltrin", "Version": VERSION, "Section": "games"}  # in /usr/games
        assert wanted.items() <= info.items(), info
        assert info["Maintainer"] and info["Homepage"], info
        libraries = "libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 qt6-qpa-plugins"
        lacking = [lib for lib in libraries.split() if lib not in info["Depends"]]
        assert not lacking, (lacking, info["Depends"])
        listing = run(["dpkg-deb", "-c", deb]).stdout
        for path in SHIPPED:
            assert "./usr/" + path in listing, "not packaged: " + path
        # Errors and warnings break the policy; infos are advice (see the README).
        report = run(["lintian", "--no-cfg", deb]).stdout
        bad = [line for line in report.splitlines() if line.startswith(("E:", "W:"))]
        assert not bad, bad


def check_cli(binary):
    """The command line is read before anything needs a window system."""
    unset = ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE")
    env = {k: v for k, v in os.environ.items() if k not in unset}
    env["LC_ALL"] = "C.UTF-8"  # in English, whatever this machine's locale is

    def veltrin(*args, status=0):
        return run([binary, *args], status=status, env=env, timeout=30)

    for option in ("--version", "-v"):
        done = veltrin(option)
        assert done.stdout == "Veltrin %s\n" % VERSION and done.stderr == "", done
    done = veltrin("--help")
    assert done.stdout.startswith("Usage: %s [options]\n" % binary), done.stdout
    assert "-h, --help" in done.stdout and "-v, --version" in done.stdout, done.stdout
    assert "-platform" not in done.stdout and done.stderr == "", done
    # Qt's own options are not mistaken for ours, with or without a value.
    done = veltrin("-platform", "offscreen", "-style=fusion", "-reverse", "--version")
    assert done.stdout == "Veltrin %s\n" % VERSION, done
    for wrong, error in (
        ("--frobnicate", "Unknown option 'frobnicate'."),
        ("stray", "Unexpected argument 'stray'."),
    ):
        done = veltrin(wrong, status=2)
        assert done.stdout == "", done
        assert done.stderr.startswith("Veltrin: %s\n\nUsage: " % error), done.stderr


def check_zip(build):
    """The download's files and CR LF texts, then the program's headers and resources, read
    with pefile: a GUI program importing only Windows' own DLLs, its icon, its version block
    and its manifest."""
    top = "Veltrin-%s-win64/" % VERSION
    with tempfile.TemporaryDirectory() as out:
        path = pack(build, "ZIP", out)
        assert os.path.basename(path) == "Veltrin-%s-win64.zip" % VERSION, path
        with zipfile.ZipFile(path) as z:
            names = sorted(z.namelist())
            assert names == [top + n for n in ("LICENSE.txt", "README.txt", "Veltrin.exe")], names
            for text in ("LICENSE.txt", "README.txt"):
                data = z.read(top + text)
                assert data.count(b"\n") == data.count(b"\r\n") > 0, text
            exe = z.read(top + "Veltrin.exe")
        print("zip: %d bytes, Veltrin.exe %d bytes" % (os.path.getsize(path), len(exe)))
    pe = pefile.PE(data=exe)
    # Windows' own DLLs, nothing that would have to be shipped beside it (no libstdc++, libgcc
    # or winpthread).
    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    assert imports <= {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll"}
    assert pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]

    def resources(kind):
        return [
            pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
            for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries
            if entry.id == pefile.RESOURCE_TYPE[kind]
            for name in entry.directory.entries
            for leaf in name.directory.entries
        ]

    (group,) = resources("RT_GROUP_ICON")  # each image's width, height and bits a pixel
    count = struct.unpack_from("<H", group, 4)[0]
    images = [struct.unpack_from("<BB4xH", group, 6 + 14 * i) for i in range(count)]
    assert images == [(32, 32, 1), (32, 32, 4), (16, 16, 4)], images
    assert len(resources("RT_ICON")) == 3

    fixed = pe.VS_FIXEDFILEINFO[0]
    major, minor = map(int, VERSION.split("."))  # 1.00 is 1.0.0.0
    versions = [getattr(fixed, f"{k}Version{h}") for k in ("File", "Product") for h in ("MS", "LS")]
    assert versions == [major << 16 | minor, 0] * 2, versions
    tables = [t for i in pe.FileInfo[0] for t in getattr(i, "StringTable", [])]
    assert [t.LangID for t in tables] == [b"040904B0"], tables  # English (US), Unicode
    strings = {k.decode(): v.decode() for k, v in tables[0].entries.items()}
    assert strings == {
        **dict.fromkeys(("FileDescription", "InternalName", "ProductName"), "Veltrin"),
        **dict.fromkeys(("FileVersion", "ProductVersion"), VERSION),
        "CompanyName": "Veltrin maintainers",
        "OriginalFilename": "Veltrin.exe",
    }, strings
    translations = [v.entry for i in pe.FileInfo[0] for v in getattr(i, "Var", [])]
    assert translations == [{b"Translation": "0x0409 0x04b0"}], translations

    (manifest,) = resources("RT_MANIFEST")
    needed = b'<dpiAwareness PerMonitorV2 Microsoft.Windows.Common-Controls version="6.0.0.0"'
    assert all(n in manifest for n in needed.split()), manifest
    print(
        f"imports {sorted(imports)}; version block {major}.{minor}.0.0, en-US, Unicode: {strings}"
    )


def package_members(path):
    """Everything a package holds, down to the files it ships, as (name, times, mode, bytes):
    the .deb's ar members, their gzip headers and tar members; a zip's members, with the times
    in their extended time stamps and inside a Windows program."""
    with open(path, "rb") as f:
        data = f.read()
    if path.endswith(".deb"):
        assert data.startswith(b"!<arch>\n"), "not an ar archive"
        at = 8
        while at < len(data):
            header, size = data[at : at + 60], int(data[at + 48 : at + 58])
            name, member = header[:16].decode().strip(), data[at + 60 : at + 60 + size]
            at += 60 + size + size % 2
            yield name, [int(header[16:28])], int(header[40:48], 8), member
            if member.startswith(b"\x1f\x8b"):  # gzip's own time, where it has one (0 is none)
                times = [t for t in struct.unpack_from("<I", member, 4) if t]
                yield name + " (gzip header)", times, 0, b""
            if name.startswith(("control.tar", "data.tar")):
                with tarfile.open(fileobj=io.BytesIO(member)) as tar:
                    for info in tar:
                        body = tar.extractfile(info).read() if info.isfile() else b""
                        yield "%s/%s" % (name, info.name), [info.mtime], info.mode, body
        return
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            body, extra = z.read(info), info.extra
            times = [calendar.timegm(info.date_time + (0, 0, 0))]
            while len(extra) >= 4:  # the extended time stamp field (0x5455), after its flags
                kind, size = struct.unpack_from("<HH", extra)
                if kind == 0x5455:
                    stamps = extra[5 : 4 + size]
                    times += [t for t, in struct.iter_unpack("<I", stamps[: len(stamps) // 4 * 4])]
                extra = extra[4 + size :]
            if info.filename.endswith(".exe"):  # its header's and resource directory's (0 is none)
                pe = pefile.PE(data=body)
                tree = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
                stamps = [pe.FILE_HEADER.TimeDateStamp, tree and tree.struct.TimeDateStamp]
                times += [t for t in stamps if t]
            yield info.filename, times, info.external_attr >> 16, body
            # The page inlines its WebAssembly module in base64, where no path would show.
            for i, inlined in enumerate(re.findall(rb";base64,([A-Za-z0-9+/=]+)", body)):
                yield "%s (inlined #%d)" % (info.filename, i), [], 0, base64.b64decode(inlined)


def check_reproducible(build):
    """Packages the build twice, the second time under another umask, time zone, locale and
    file system: both must be the same bytes, every time in them the build's
    SOURCE_DATE_EPOCH (the one CPack falls back on, as none is set here), and nothing in them
    may name the folders the build was made in."""
    with open(os.path.join(build, "CPackConfig.cmake")) as f:
        config = f.read()
    generator = re.search(r'set\(CPACK_GENERATOR "(\w+)"\)', config).group(1)
    epoch = int(re.search(r'set\(CPACK_VELTRIN_SOURCE_DATE_EPOCH "(\d+)"\)', config).group(1))
    allowed = {epoch, epoch - epoch % 2}  # zip keeps times to two seconds
    folders = {source_of(build).encode(), os.path.realpath(build).encode()}
    packages = []
    # The second time on another file system where there is one (a tmpfs lists a folder's
    # files in another order than ext4 does).
    shm = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    settings = ((0o022, "UTC", "C", None), (0o002, "Pacific/Chatham", "C.UTF-8", shm))
    for umask, zone, locale, where in settings:
        env = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
        env.update(TZ=zone, LC_ALL=locale)
        os.umask(umask)  # CPack's, as it inherits it
        with tempfile.TemporaryDirectory(dir=where) as folder:
            package = pack(build, generator, folder, env=env)
            name, members = os.path.basename(package), list(package_members(package))
            for member, times, _, body in members:
                wrong = [t for t in times if t not in allowed]
                assert not wrong, f"{name}: {member} has the time {wrong}, not {epoch}"
                named = [path.decode() for path in folders if path in body]
                assert not named, f"{name}: {member} names the build folder {named}"
            with open(package, "rb") as f:
                packages.append((f.read(), {m[0]: m[1:] for m in members}))
    (first, before), (second, after) = packages
    differing = sorted(m for m in before.keys() | after.keys() if before.get(m) != after.get(m))
    assert first == second, (
        "packaged twice, the bytes differ (umask, time zone, locale, time or file system); "
        f"members that differ: {differing or 'none: their order or headers'}"
    )
    print(f"{name}: {len(first)} bytes, the same under umask 022 and 002, every time {epoch}")


if __name__ == "__main__":
    command, target = sys.argv[1], os.path.abspath(sys.argv[2])
    globals()["check_" + command](target)
    print("passed")
