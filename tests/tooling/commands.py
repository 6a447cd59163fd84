#!/usr/bin/python3
"""Every command the README and docs/ give runs, as a reader would type it.

usage: commands.py qt|win32|web SOURCE_DIR BUILD_DIR

Each line of a code block in README.md and docs/*.md must match one entry of COMMANDS below,
so a new documented command fails here until it is checked. Those that need a front end's
build run in that build's suite (qt: release, win32: mingw, web: web), from the source folder,
with VELTRIN_BENCH_SHORT set so that each benchmark makes a short run. Beside them, every
script in scripts/ and bench/ answers --help with its usage, and make-icons.sh regenerates
every committed icon.
"""

import glob
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

TIMEOUT = 180  # seconds for any one command; a short benchmark run takes a few


def code_lines(source):
    """(file:line, command) for each line of the docs' code blocks, indented or fenced."""
    for path in ["README.md"] + sorted(glob.glob("docs/*.md", root_dir=source)):
        previous, fenced = "", False
        with open(os.path.join(source, path)) as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if line.startswith("```"):
                    fenced = not fenced
                elif fenced or (line.startswith("    ") and not previous.strip()):
                    if line.strip():
                        yield "%s:%d" % (path, number), line.strip()
                        continue  # a block goes on while its lines do
                previous = line


def run(command, where, env=None, status=0):
    done = subprocess.run(
        ["/bin/bash", "-c", command],
        cwd=SOURCE,
        env=env or ENV,
        capture_output=True,
        text=True,
        timeout=TIMEOUT,
    )
    output = (done.stdout + done.stderr).strip()
    print("$ %s\n%s" % (command, output), flush=True)
    assert done.returncode == status, "%s: `%s` exited with %d, not %d" % (
        where,
        command,
        done.returncode,
        status,
    )
    return done


# ---- how each kind of command is checked ----


def run_as_written(command, where):
    # In another folder than the documented one, the build's own.
    run(command.replace("build/%s/" % PRESET, BUILD + "/"), where)


def presets(command, where):
    listed = subprocess.run(
        ["cmake", "--list-presets=all"], cwd=SOURCE, capture_output=True, text=True, check=True
    ).stdout
    kinds = dict(re.findall(r'Available (\w+) presets:\n\n((?:  ".*\n)+)', listed))
    for kind, pattern in (
        ("configure", r"cmake --preset (\S+)"),
        ("build", r"cmake --build --preset (\S+)"),
        ("test", r"ctest --preset (\S+)"),
    ):
        for name in re.findall(pattern, command):
            assert '"%s"' % name in kinds.get(kind, ""), "%s: no %s preset %s" % (where, kind, name)


def install_site(command, where):
    # The folder a static host serves, made where the reader's site/ would be.
    SITE.append(tempfile.mkdtemp())
    run(command.replace(" site", " " + SITE[0]).replace("build/web", BUILD), where)


def serve_site(command, where):
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    command = command.split("#")[0].replace("site", SITE[0]).replace("8000", str(port))
    server = subprocess.Popen(
        ["/bin/bash", "-c", "exec " + command],
        cwd=SOURCE,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    try:
        deadline = time.monotonic() + 30
        while True:
            try:
                with urllib.request.urlopen("http://127.0.0.1:%d/" % port) as page:
                    served = page.read()
                break
            except OSError:
                assert time.monotonic() < deadline, "%s: nothing served" % where
                time.sleep(0.1)
        with open(os.path.join(SITE[0], "index.html"), "rb") as f:
            assert served == f.read(), "%s: / is not the installed index.html" % where
        print("$ %s\nserved index.html, %d bytes" % (command, len(served)))
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(SITE[0])


# Every documented command, by the start of its line: the front end whose build runs it and
# how, or None and the test that already runs it.
COMMANDS = [
    ("bash scripts/veltrin.sh run", None, "the suite itself: CI runs `test`, which builds `run`'s"),
    ("bash scripts/veltrin.sh test", None, "the suite itself: what CI runs"),
    # A release takes minutes, twice that its check: run by hand; packaging.reproducible
    # guards, in every build, what they rely on.
    ("bash scripts/veltrin.sh release", None, "by hand; packaging.reproducible guards it"),
    ("git clone <repository> ", None, "release-check: a fresh clone, built and compared"),
    ("diff dist/SHA256SUMS ", None, "release-check: the two SHA256SUMS compared"),
    ("(cd build/web && cpack -G ZIP)", None, "packaging.reproducible makes the page's zip"),
    ("veltrin", None, "packaging.cli: --help, --version and a wrong option, with no display"),
    ("cmake --preset ", "qt", presets),
    ("(cd build/release && cpack -G DEB)", None, "packaging.deb builds and checks the package"),
    ("sudo apt install ./build/release/veltrin_", None, "packaging.deb: the package it installs"),
    ("(cd build/mingw && cpack -G ZIP)", None, "packaging.zip builds and checks the download"),
    ("cmake --install build/web --prefix site", "web", install_site),
    ("python3 -m http.server -d site ", "web", serve_site),
    ("QT_QPA_PLATFORM=offscreen build/release/bench/search_bench", "qt", run_as_written),
    ("xvfb-run ", "qt", run_as_written),
    ("bench/startup.py ", "qt", run_as_written),
    ("bench/win32_bench.sh", "win32", run_as_written),
    ("node bench/web_bench.mjs ", "web", run_as_written),
]


def usages():
    """Every script answers --help with its usage, on standard output."""
    runners = {".sh": "bash", ".py": sys.executable, ".mjs": "node"}
    scripts = sorted(
        glob.glob("scripts/*", root_dir=SOURCE) + glob.glob("bench/*.*", root_dir=SOURCE)
    )
    for script in scripts:
        runner = runners.get(os.path.splitext(script)[1])
        if runner:
            out = run("%s %s --help" % (runner, script), script).stdout
            assert out.startswith("usage: "), script + ": no usage line"


def icons():
    """make-icons.sh, on a copy of the tree, remakes every committed icon, and names the
    packages it needs where they are missing."""
    with tempfile.TemporaryDirectory() as copy:
        os.mkdir(os.path.join(copy, "scripts"))
        shutil.copy(os.path.join(SOURCE, "scripts/make-icons.sh"), os.path.join(copy, "scripts"))
        os.makedirs(os.path.join(copy, "data/icons"))
        shutil.copy(
            os.path.join(SOURCE, "data/icons/veltrin.svg"), os.path.join(copy, "data/icons")
        )
        script = os.path.join(copy, "scripts/make-icons.sh")
        run("bash " + script, "scripts/make-icons.sh")
        made = set(glob.glob("**/*.*", root_dir=os.path.join(copy, "data/icons"), recursive=True))
        kept = set(glob.glob("**/*.*", root_dir=os.path.join(SOURCE, "data/icons"), recursive=True))
        assert made == kept, "make-icons.sh made %s, the tree holds %s" % (
            sorted(made - kept),
            sorted(kept - made),
        )
        # With none of its tools on the PATH.
        out = run("/bin/bash " + script, "make-icons.sh", dict(ENV, PATH=copy), status=1).stderr
        assert "librsvg2-bin imagemagick icoutils" in out, "make-icons.sh: " + out


def main():
    for where, line in code_lines(SOURCE):
        entry = next((e for e in COMMANDS if line.startswith(e[0])), None)
        assert entry, "%s: `%s` is documented but not checked: add it to %s" % (
            where,
            line,
            __file__,
        )
        if entry[1] == FRONT:
            entry[2](line, where)
        elif entry[1] is None:
            print("%s: `%s`: %s" % (where, line, entry[2]))
    if FRONT == "qt":
        usages()
        icons()


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("qt", "win32", "web"):
        sys.exit(__doc__.split("\n\n")[1])
    FRONT, SOURCE, BUILD = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    PRESET = {"qt": "release", "win32": "mingw", "web": "web"}[FRONT]
    ENV = dict(os.environ, VELTRIN_BENCH_SHORT="1")
    SITE = []
    main()
