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
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SHIPPED = [
    "games/veltrin",
    "share/applications/%s.desktop" % APP_ID,
    "share/metainfo/%s.metainfo.xml" % APP_ID,
    "share/man/man6/veltrin.6.gz",
    "share/doc/veltrin/copyright",
    "share/doc/veltrin/changelog.gz",
    "share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
] + ["share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID) for s in ICON_SIZES]


def run(args, status=0, **kwargs):
    done = subprocess.run(args, capture_output=True, text=True, **kwargs)
    output = (done.stdout + done.stderr).strip()
    print("$ %s\n%s" % (" ".join(args), output), flush=True)
    assert done.returncode == status, "%s exited with %d" % (args[0], done.returncode)
    return done


def pack(build, generator, out, **kwargs):
    """Runs CPack on the build, writing into out; returns the one package it wrote."""
    run(
        ["cpack", "-G", generator, "--config", os.path.join(build, "CPackConfig.cmake"), "-B", out],
        cwd=build,
        **kwargs
    )
    packages = glob.glob(os.path.join(out, "*." + generator.lower()))
    assert len(packages) == 1, packages
    return packages[0]


def source_of(build):
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        return re.search(r"^CMAKE_HOME_DIRECTORY:INTERNAL=(.*)$", f.read(), re.M).group(1)


def check_install(build):
    with tempfile.TemporaryDirectory() as prefix:
        run(["cmake", "--install", build, "--prefix", prefix])
        for path in SHIPPED:
            assert os.path.isfile(os.path.join(prefix, path)), "not installed: " + path
        run(
            [
                "desktop-file-validate",
                os.path.join(prefix, "share/applications/%s.desktop" % APP_ID),
            ]
        )
        out = run(
            [
                "appstreamcli",
                "validate",
                "--no-net",
                os.path.join(prefix, "share/metainfo/%s.metainfo.xml" % APP_ID),
            ]
        ).stdout
        assert "Validation was successful" in out
        # Each in every language of po/LINGUAS, as the menus and software centres show them.
        with open(os.path.join(source_of(build), "po/LINGUAS")) as f:
            languages = f.read().split()
        for path, translated in (
            ("share/applications/%s.desktop" % APP_ID, "Comment[%s]="),
            ("share/metainfo/%s.metainfo.xml" % APP_ID, '<summary xml:lang="%s">'),
        ):
            with open(os.path.join(prefix, path), encoding="utf-8") as f:
                text = f.read()
            lacking = [lang for lang in languages if translated % lang not in text]
            assert not lacking, "%s: not in %s" % (path, lacking)
        page = run(["man", "--warnings", "-l", os.path.join(prefix, "share/man/man6/veltrin.6.gz")])
        assert page.stderr == "", page.stderr
        text = re.sub(".\b", "", page.stdout)  # the terminal's overstrikes for bold
        for heading in (
            "NAME",
            "SYNOPSIS",
            "DESCRIPTION",
            "OPTIONS",
            "EXIT STATUS",
            "FILES",
            "SEE ALSO",
        ):
            assert "\n" + heading + "\n" in text, heading


def check_deb(build):
    with tempfile.TemporaryDirectory() as out:
        deb = pack(build, "DEB", out)
        assert os.path.basename(deb) == "veltrin_%s_amd64.deb" % VERSION, deb
        fields = run(
            [
                "dpkg-deb",
                "-f",
                deb,
                "Package",
                "Version",
                "Section",
                "Depends",
                "Maintainer",
                "Homepage",
            ]
        ).stdout
        info = dict(line.split(": ", 1) for line in fields.splitlines())
        assert info["Package"] == "veltrin", info
        assert info["Version"] == VERSION, info
        assert info["Section"] == "games", info  # and so the program is in /usr/games
        assert info["Maintainer"] and info["Homepage"], info
        for library in (
            "libqt6widgets6",
            "libqt6gui6",
            "libqt6core6",
            "libc6",
            "libstdc++6",
            "qt6-qpa-plugins",
        ):
            assert library in info["Depends"], (library, info["Depends"])
        listing = run(["dpkg-deb", "-c", deb]).stdout
        for path in SHIPPED:
            assert "./usr/" + path in listing, "not packaged: " + path
        # Errors and warnings break the policy; infos are advice (see the README).
        report = run(["lintian", "--no-cfg", deb]).stdout
        bad = [line for line in report.splitlines() if line.startswith(("E:", "W:"))]
        assert not bad, bad


def check_cli(binary):
    """The command line is read before anything needs a window system."""
    env = {
        k: v
        for k, v in os.environ.items()
        if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE")
    }
    env["LC_ALL"] = "C.UTF-8"  # in English, whatever this machine's locale is

    def veltrin(*args, status=0):
        return run([binary, *args], status=status, env=env, timeout=30)

    for option in ("--version", "-v"):
        done = veltrin(option)
        assert done.stdout == "Veltrin %s\n" % VERSION and done.stderr == "", done
    done = veltrin("--help")
    assert done.stdout.startswith("Usage: %s [options]\n" % binary), done.stdout
    for line in ("-h, --help", "-v, --version"):
        assert line in done.stdout, line
    assert "-platform" not in done.stdout and done.stderr == "", done
    # Qt's own options are not mistaken for ours, with or without a value.
    done = veltrin("-platform", "offscreen", "-style=fusion", "-reverse", "--version")
    assert done.stdout == "Veltrin %s\n" % VERSION, done
    for wrong, error in (
        (["--frobnicate"], "Unknown option 'frobnicate'."),
        (["stray"], "Unexpected argument 'stray'."),
    ):
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
        return [
            pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
            for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries
            if entry.id == pefile.RESOURCE_TYPE[kind]
            for name in entry.directory.entries
            for leaf in name.directory.entries
        ]

    (group,) = resources("RT_GROUP_ICON")
    images = [
        struct.unpack_from("<BBBBHH", group, 6 + 14 * i)
        for i in range(struct.unpack_from("<H", group, 4)[0])
    ]
    assert [(w, h, bits) for w, h, _, _, _, bits in images] == [
        (32, 32, 1),
        (32, 32, 4),
        (16, 16, 4),
    ], images
    assert len(resources("RT_ICON")) == 3

    fixed = pe.VS_FIXEDFILEINFO[0]
    major, minor = map(int, VERSION.split("."))  # 1.00 is 1.0.0.0
    assert (
        fixed.FileVersionMS,
        fixed.FileVersionLS,
        fixed.ProductVersionMS,
        fixed.ProductVersionLS,
    ) == (major << 16 | minor, 0, major << 16 | minor, 0)
    tables = [t for i in pe.FileInfo[0] for t in getattr(i, "StringTable", [])]
    assert [t.LangID for t in tables] == [b"040904B0"], tables  # English (US), Unicode
    strings = {k.decode(): v.decode() for k, v in tables[0].entries.items()}
    assert strings == {
        "CompanyName": "Veltrin maintainers",
        "FileDescription": "Veltrin",
        "FileVersion": VERSION,
        "InternalName": "Veltrin",
        "OriginalFilename": "Veltrin.exe",
        "ProductName": "Veltrin",
        "ProductVersion": VERSION,
    }, strings
    translations = [v.entry for i in pe.FileInfo[0] for v in getattr(i, "Var", [])]
    assert translations == [{b"Translation": "0x0409 0x04b0"}], translations

    (manifest,) = resources("RT_MANIFEST")
    for needed in (
        b"<dpiAwareness",
        b"PerMonitorV2",
        b"Microsoft.Windows.Common-Controls",
        b'version="6.0.0.0"',
    ):
        assert needed in manifest, needed
    print(
        "%s: imports %s; version block %d.%d.0.0, en-US, Unicode: %s"
        % (exe, sorted(imports), major, minor, strings)
    )


def check_zip(build):
    with tempfile.TemporaryDirectory() as out:
        path = pack(build, "ZIP", out)
        assert os.path.basename(path) == "Veltrin-%s-win64.zip" % VERSION, path
        with zipfile.ZipFile(path) as z:
            names = sorted(z.namelist())
            top = "Veltrin-%s-win64/" % VERSION
            assert names == [top + n for n in ("LICENSE.txt", "README.txt", "Veltrin.exe")], names
            for text in ("LICENSE.txt", "README.txt"):
                data = z.read(top + text)
                assert data.count(b"\n") == data.count(b"\r\n") > 0, text
            exe = os.path.join(out, "Veltrin.exe")
            with open(exe, "wb") as f:
                f.write(z.read(top + "Veltrin.exe"))
        print("zip: %d bytes, Veltrin.exe %d bytes" % (os.path.getsize(path), os.path.getsize(exe)))
        check_exe(exe)


def ar_members(data):
    """The members of an ar archive (a .deb) as (name, time, mode, bytes)."""
    assert data.startswith(b"!<arch>\n"), "not an ar archive"
    at = 8
    while at < len(data):
        header = data[at : at + 60]
        size = int(header[48:58])
        yield (
            header[:16].decode().strip(),
            int(header[16:28]),
            int(header[40:48], 8),
            data[at + 60 : at + 60 + size],
        )
        at += 60 + size + size % 2


def zip_extra_times(extra):
    """The times in a zip member's extended time stamp field (0x5455), if it has one."""
    times = []
    while len(extra) >= 4:
        kind, size = struct.unpack_from("<HH", extra)
        if kind == 0x5455:
            body = extra[5 : 4 + size]  # after the flags
            times += [t for t, in struct.iter_unpack("<I", body[: len(body) // 4 * 4])]
        extra = extra[4 + size :]
    return times


def pe_times(data):
    """The times a Windows program records, its header's and its resource directory's, where
    it records one (0 is none)."""
    pe = pefile.PE(data=data)
    times = [pe.FILE_HEADER.TimeDateStamp]
    if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        times.append(pe.DIRECTORY_ENTRY_RESOURCE.struct.TimeDateStamp)
    return [t for t in times if t]


def package_members(path):
    """Everything a package holds, down to the files it ships, as (name, times, mode, bytes):
    the .deb's ar members, their gzip headers and tar members; a zip's members, with the times
    inside a Windows program."""
    with open(path, "rb") as f:
        data = f.read()
    if path.endswith(".deb"):
        for name, mtime, mode, member in ar_members(data):
            yield name, [mtime], mode, member
            if member.startswith(b"\x1f\x8b"):  # gzip's own time, where it has one
                gzip_time = struct.unpack_from("<I", member, 4)[0]
                yield name + " (gzip header)", [gzip_time] if gzip_time else [], 0, b""
            if name.startswith(("control.tar", "data.tar")):
                with tarfile.open(fileobj=io.BytesIO(member)) as tar:
                    for info in tar:
                        body = tar.extractfile(info).read() if info.isfile() else b""
                        yield "%s/%s" % (name, info.name), [info.mtime], info.mode, body
        return
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            body = z.read(info)
            times = [calendar.timegm(info.date_time + (0, 0, 0))] + zip_extra_times(info.extra)
            if info.filename.endswith(".exe"):
                times += pe_times(body)
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
    for umask, zone, locale, where in (
        (0o022, "UTC", "C", None),
        (0o002, "Pacific/Chatham", "C.UTF-8", shm),
    ):
        env = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
        env.update(TZ=zone, LC_ALL=locale)
        with tempfile.TemporaryDirectory(dir=where) as folder:
            package = pack(
                build, generator, folder, env=env, preexec_fn=lambda umask=umask: os.umask(umask)
            )
            members = list(package_members(package))
            for name, times, _, body in members:
                wrong = [t for t in times if t not in allowed]
                assert not wrong, "%s: %s carries the time %s, not SOURCE_DATE_EPOCH %d" % (
                    os.path.basename(package),
                    name,
                    wrong,
                    epoch,
                )
                for path in folders:
                    assert path not in body, "%s: %s names the build folder %s" % (
                        os.path.basename(package),
                        name,
                        path.decode(),
                    )
            with open(package, "rb") as f:
                packages.append((f.read(), {m[0]: m[1:] for m in members}))
    (first, first_members), (second, second_members) = packages
    differing = sorted(
        name
        for name in first_members.keys() | second_members.keys()
        if first_members.get(name) != second_members.get(name)
    )
    assert first == second, (
        "packaged twice, the bytes differ (umask, time zone, locale, time or "
        "file system); members that differ: %s" % (differing or "none: their order or headers")
    )
    print(
        "%s: %d bytes, the same under umask 022 and 002, every time %d, no build path"
        % (os.path.basename(package), len(first), epoch)
    )


def main():
    command, target = sys.argv[1], os.path.abspath(sys.argv[2])
    {
        "install": check_install,
        "deb": check_deb,
        "cli": check_cli,
        "zip": check_zip,
        "reproducible": check_reproducible,
    }[command](target)
    print("passed")


if __name__ == "__main__":
    main()
