#!/usr/bin/python3
"""Every command the docs show runs, as a reader would type it, and the docs say what the tree
holds: the README's dependencies are the set-up script's, each version named is the build's,
each image shown exists.

usage: commands.py qt|win32|web SOURCE_DIR BUILD_DIR VERSION

Each line of a code block in README.md, ARCHITECTURE.md and docs/*.md is checked in the build
it needs (qt: release, win32: mingw, web: web), from the source folder. A line of a known shape
runs as written (SHAPES); a few others are listed whole (LINES), each with how it runs or the
test that runs it. A line that fails, or that neither runs nor is named, fails the test.
Beside them, every script in scripts/ and bench/ answers --help with its usage, and
make-icons.sh regenerates every committed icon.
"""

import glob
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

TIMEOUT = 180  # seconds for any one command; a short benchmark run takes a few
PRESETS = {"qt": "release", "win32": "mingw", "web": "web"}  # the build each front's test has


def code_lines():
    """(file:line, command) for each line of the docs' code blocks, indented or fenced."""
    for path in DOCS:
        previous, fenced = "", False
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if line.startswith("```"):
                    fenced = not fenced
                elif fenced or (line.startswith("    ") and not previous.strip()):
                    if line.strip():
                        yield "%s:%d" % (path, number), line.strip()
                        continue  # a block goes on while its lines do
                previous = line


def run(command, where, env=None, status=0, cwd=None):
    # In a session of its own, so that a command that overruns is ended with all it started.
    pipe, cwd, env = subprocess.PIPE, cwd or SOURCE, env or ENV
    args = ["/bin/bash", "-c", command]
    process = subprocess.Popen(
        args, cwd=cwd, env=env, stdout=pipe, stderr=pipe, text=True, start_new_session=True
    )
    try:
        stdout, stderr = process.communicate(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        raise AssertionError(f"{where}: `{command}` took more than {TIMEOUT} s")
    print("$ %s\n%s" % (command, (stdout + stderr).strip()[-3000:]), flush=True)
    ended = process.returncode
    assert ended == status, f"{where}: `{command}` exited with {ended}, not {status}"
    return subprocess.CompletedProcess(process.args, process.returncode, stdout, stderr)


def own_build(preset):
    """Whether this test runs in the preset's own build folder, which its commands name."""
    return os.path.realpath(BUILD) == os.path.realpath(os.path.join(SOURCE, "build", preset))


def in_this_build(test, command, where):
    """The test that runs the line is in this build's CTest list."""
    listed = subprocess.run(["ctest", "--test-dir", BUILD, "-N"], capture_output=True, text=True)
    assert listed.returncode == 0, listed.stderr
    tests = re.findall(r"Test +#\d+: (\S+)", listed.stdout)
    assert test in tests, f"{where}: `{command}` names {test}, which this build lacks"


# ---- how each kind of command runs ----


SESSION = []  # the test's own X server, started at its first use


def on_a_display(command, where):
    """Runs the line on an X server of the test's own, `veltrin` on the PATH the build's
    program, as the end-to-end suite drives it: its start-up message answered and its window
    closed as a user does, after which it must end with status 0. A line that ends by itself
    (`--help`) must end with status 0."""
    if not SESSION:
        sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
        from veltrin_e2e.x11 import Display

        SESSION.append(Display())
        folder = tempfile.mkdtemp(prefix="veltrin-docs-")
        os.symlink(os.path.join(BUILD, "window", "qt", "veltrin"), folder + "/veltrin")
        SESSION[0].env["PATH"] = folder + ":" + ENV["PATH"]
    from veltrin_e2e.harness import LAUNCHED
    from veltrin_e2e.program import Veltrin

    SESSION[0].launcher = ["/bin/bash", "-c", "exec " + command]  # the program's path: $0
    try:
        Veltrin(SESSION[0], "veltrin").quit()
        print("$ %s\n(start-up message answered, window closed)" % command)
    except AssertionError as e:
        if LAUNCHED[-1].returncode != 0:  # still running, or ended with a failure
            raise AssertionError("%s: `%s`: %s" % (where, command, e))
        print("$ %s\n(ended by itself, status 0)" % command)
    finally:
        for process in LAUNCHED:
            if process.poll() is None:
                process.kill()
            process.wait()
        LAUNCHED.clear()


def veltrin_run(command, where):
    # It builds and starts build/release's program: only there is that the build under test.
    if own_build("release"):
        on_a_display(command, where)
    else:
        print("%s: `%s`: runs in build/release's docs test" % (where, command))


def in_preset(preset, how, command, where):
    """A line that names a preset runs in that preset's own build, by that build's docs test."""
    known = preset in PRESETS.values()
    assert known, f"{where}: `{command}`: no build's docs test has the preset {preset}"
    if preset == PRESET and not own_build(preset):
        print(f"{where}: `{command}`: runs in build/{preset}'s docs test")
    elif preset == PRESET:
        how(command, where)


def ctest_selects(command, where):
    """The tests the line selects, which the suite runs: it must select some."""
    listed = run(command + " -N", where).stdout
    total = re.search(r"Total Tests: (\d+)", listed)
    assert total and int(total.group(1)) > 0, "%s: `%s` selects no test" % (where, command)


def run_as_written(command, where):
    # In the build's own folder, wherever the documented one would be.
    run(command.replace("build/%s/" % PRESET, BUILD + "/"), where)


def in_a_prefix_of_its_own(command, where):
    # As a user runs it, without the suite's Wine prefix: the script makes one of its own and
    # ends its server. In the suite's, a desktop that a run before left behind, its X server
    # gone, would refuse the windows.
    run(command, where, env={k: v for k, v in ENV.items() if k != "WINEPREFIX"})


def install_site(command, where):
    # The folder a static host serves, made where the reader's site/ would be.
    SITE.append(tempfile.mkdtemp())
    run(command.replace(" site", " " + SITE[0]).replace("build/web", BUILD), where)


def serve_site(command, where):
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    command = command.replace("site", SITE[0]).replace("8000", str(port))
    null = subprocess.DEVNULL
    server = subprocess.Popen(["/bin/bash", "-c", "exec " + command], stdout=null, stderr=null)
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


def check_download(command, where):
    # In a folder with a download and the release's SHA256SUMS, which lists one more file.
    with tempfile.TemporaryDirectory() as folder:
        name = "Veltrin-%s-web.zip" % VERSION
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"a download")
        run("sha256sum %s >SHA256SUMS" % name, where, cwd=folder)
        with open(os.path.join(folder, "SHA256SUMS"), "a") as f:
            f.write("%s  veltrin_%s_amd64.deb\n" % ("0" * 64, VERSION))
        out = run(command, where, cwd=folder).stdout
        assert out == "%s: OK\n" % name, "%s: `%s` said %r" % (where, command, out)


def the_suite(command, where):
    with open(os.path.join(SOURCE, ".ci/run")) as f:
        assert f"\nexec {command}\n" in f.read(), f"{where}: .ci/run does not run `{command}`"
    print("%s: `%s`: the suite itself, what .ci/run runs" % (where, command))


def by_hand(why, test):
    """A line run by hand, as `why`; `test` guards what it relies on."""

    def named(command, where):
        in_this_build(test, command, where)
        print(f"{where}: `{command}`: by hand, as {why}; {test} guards it")

    return named


# A release takes minutes, its check twice that; packaging.reproducible guards, in every
# build, what both rely on. packaging.deb makes the very package a user installs, and checks it.
minutes = by_hand("it takes minutes", "packaging.reproducible")
into_the_system = by_hand("it installs into the system", "packaging.deb")


# Lines of a known shape: (a pattern the whole line matches, the front whose build runs it, how
# it runs). A line that names a preset runs in that preset's build.
SHAPES = [
    (r"veltrin( .*)?", "qt", on_a_display),
    (r"bash scripts/veltrin\.sh run( .*)?", "qt", veltrin_run),
    (r"cmake --build --preset (?P<preset>\S+)( .*)?", "preset", run),
    (r"(\w+=\S* )*ctest --preset (?P<preset>\S+)( .*)?", "preset", ctest_selects),
    (r"bash scripts/\S+( .*)?", "qt", run),
]

# Lines listed whole, with "%s" for the build's version: the front whose build checks each
# (None: every one), and how.
LINES = {
    "bash scripts/veltrin.sh test": (None, the_suite),
    "bash scripts/veltrin.sh release": (None, minutes),
    "bash scripts/veltrin.sh release-check": (None, minutes),
    "sudo apt install ./veltrin_%s_amd64.deb": ("qt", into_the_system),
    "sha256sum --check --ignore-missing SHA256SUMS": ("qt", check_download),
    "cmake --install build/web --prefix site": ("web", install_site),
    "python3 -m http.server -d site 8000 --bind 127.0.0.1": ("web", serve_site),
    "QT_QPA_PLATFORM=offscreen build/release/bench/search_bench": ("qt", run_as_written),
    "xvfb-run -a -s %s env QT_QPA_PLATFORM=xcb build/release/bench/search_bench"
    % '"-screen 0 800x600x24"': ("qt", run_as_written),
    "bench/startup.py build/release/window/qt/veltrin"
    " build/release/bench/bare_message": ("qt", run_as_written),
    "bench/win32_bench.sh": ("win32", in_a_prefix_of_its_own),
    "node bench/web_bench.mjs --engine all build/web/window/web": ("web", run_as_written),
}


def check_line(line, where):
    """Runs or names one documented line; False if nothing checks it."""
    whole = LINES.get(line.replace(VERSION, "%s"))
    if whole:
        front, how = whole
        if front in (None, FRONT):
            how(line, where)
        return True
    for pattern, front, how in SHAPES:
        match = re.fullmatch(pattern, line)
        if not match:
            continue
        if front == "preset":
            in_preset(match["preset"], how, line, where)
        elif front == FRONT:
            how(line, where)
        return True
    return False


# ---- what the docs say of the tree ----


def dependencies():
    """The README's dependencies, each in backticks in its Dependencies section, are exactly
    the Debian packages scripts/veltrin.sh installs and the npm packages of the lock files."""
    with open(os.path.join(SOURCE, "scripts/veltrin.sh")) as f:
        script = f.read()
    script = re.sub(r"(^|\s)#.*", "", script, flags=re.M)  # no comments
    wanted = set(" ".join(re.findall(r"\b\w+_packages\+?=\(([^)]*)\)", script)).split())
    for folder in ("tests/tooling", "tests/e2e/web"):
        with open(os.path.join(SOURCE, folder, "package.json")) as f:
            package = json.load(f)
        wanted |= set(package.get("dependencies", {})) | set(package.get("devDependencies", {}))
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        section = re.search(r"^## Dependencies\n(.*?)^## ", f.read(), re.M | re.S).group(1)
    written = set(re.findall(r"`([^`]+)`", section))
    assert written == wanted, (
        "README.md's Dependencies and the packages scripts/veltrin.sh and package.json install "
        "differ: only in the README %s, only installed %s"
        % (sorted(written - wanted), sorted(wanted - written))
    )
    print("README.md: %d dependencies, as installed" % len(wanted))


def versions_and_images():
    """Every version the docs name is the build's; every image they show is in the tree."""
    pattern = (
        r"veltrin_([^_\s]+)_amd64\.deb|Veltrin-([^-\s]+)-(?:win64|web)\.zip"
        r"|veltrin-([\d.]+)\.tar\.gz|Veltrin ([\d.]+\d)"
    )
    for path in DOCS:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for match in re.finditer(pattern, text):
            named = next(g for g in match.groups() if g)
            assert named == VERSION, f"{path}: {match[0]}, but the build is version {VERSION}"
        for image in re.findall(r"!\[[^\]]*\]\(([^)]+)\)", text):
            shown = os.path.join(SOURCE, os.path.dirname(path), image)
            assert os.path.isfile(shown), "%s shows %s, which is not there" % (path, image)


def usages():
    """Every script answers --help with its usage, on standard output."""
    runners = {".sh": "bash", ".py": sys.executable, ".mjs": "node"}
    for script in sorted(glob.glob("scripts/*") + glob.glob("bench/*.*")):
        runner = runners.get(os.path.splitext(script)[1])
        if runner:
            out = run("%s %s --help" % (runner, script), script).stdout
            assert out.startswith("usage: "), script + ": no usage line"


def icons():
    """make-icons.sh, on a copy of the tree, remakes every committed icon, and names the
    packages it needs where they are missing."""
    with tempfile.TemporaryDirectory() as copy:
        for path in ("scripts/make-icons.sh", "data/icons/veltrin.svg"):
            os.makedirs(os.path.join(copy, os.path.dirname(path)), exist_ok=True)
            shutil.copy(path, os.path.join(copy, path))
        script = os.path.join(copy, "scripts/make-icons.sh")
        run("bash " + script, "scripts/make-icons.sh")
        made = set(glob.glob("**/*.*", root_dir=os.path.join(copy, "data/icons"), recursive=True))
        kept = set(glob.glob("**/*.*", root_dir=os.path.join(SOURCE, "data/icons"), recursive=True))
        assert made == kept, f"make-icons.sh made {sorted(made - kept)}, not {sorted(kept - made)}"
        # With none of its tools on the PATH.
        out = run("/bin/bash " + script, "make-icons.sh", dict(ENV, PATH=copy), status=1).stderr
        assert "librsvg2-bin imagemagick icoutils" in out, "make-icons.sh: " + out


def main():
    failures, lines = [], {}
    for where, line in code_lines():
        lines.setdefault(line, where)  # said twice, run once
    try:
        for line, where in lines.items():
            try:
                if not check_line(line, where):
                    failures.append(
                        "%s: `%s` is documented, but nothing runs or names it: give it a shape "
                        "or a line in %s" % (where, line, __file__)
                    )
            except (AssertionError, subprocess.SubprocessError) as e:
                failures.append(str(e))
    finally:
        for session in SESSION:
            session.close()
    if FRONT == "qt":
        for check in (dependencies, versions_and_images, usages, icons):
            try:
                check()
            except AssertionError as e:
                failures.append(str(e))
    assert not failures, "\n".join(["the docs and the tree disagree:"] + failures)
    print("every documented command checked")


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] not in PRESETS:
        sys.exit(__doc__.split("\n\n")[1])
    FRONT, SOURCE, BUILD = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    VERSION = sys.argv[4]
    PRESET = PRESETS[FRONT]
    ENV = dict(os.environ, VELTRIN_BENCH_SHORT="1")
    os.chdir(SOURCE)  # where a reader types the docs' commands
    DOCS = ["README.md", "ARCHITECTURE.md"] + sorted(glob.glob("docs/*.md"))
    SITE = []
    main()
