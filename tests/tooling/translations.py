#!/usr/bin/python3
"""The catalogues are whole and consistent: the template is the sources' (scripts/update-po.sh
--check), and each language of po/LINGUAS has every message of it, translated, none fuzzy,
with the same placeholders, msgfmt --check clean, and names the project, not a person, as its
translator.

usage: translations.py SOURCE_DIR"""

import os
import re
import subprocess
import sys

import polib  # Debian's python3-polib

PLACEHOLDER = re.compile(r"%\d|%d|\\n|\n")


def run(args, where):
    done = subprocess.run(args, cwd=where, capture_output=True, text=True)
    assert done.returncode == 0, "%s: %s" % (" ".join(args), done.stdout + done.stderr)
    return done.stdout + done.stderr


def check(source, language, template):
    path = os.path.join("po", language + ".po")
    run(["msgfmt", "--check", "--check-format", "--output-file=/dev/null", path], source)
    po = polib.pofile(os.path.join(source, path))
    ids = {(e.msgid, e.msgid_plural) for e in po if not e.obsolete}
    missing = [m for m, _ in template - ids]
    assert not missing, "%s: lacks %s" % (path, missing)
    for entry in po:
        assert "fuzzy" not in entry.flags, "%s: fuzzy: %r" % (path, entry.msgid)
        assert entry.translated(), "%s: not translated: %r" % (path, entry.msgid)
        wanted = sorted(PLACEHOLDER.findall(entry.msgid))
        translations = list(entry.msgstr_plural.values()) or [entry.msgstr]
        for text in translations:
            found = sorted(PLACEHOLDER.findall(text))
            assert found == wanted, f"{path}: {text!r} has {found}, not {wanted}"
            # The combination follows the prompt after its space, as in English.
            assert text.endswith(" ") == entry.msgid.endswith(" "), "%s: %r" % (path, text)
    for field in ("Last-Translator", "Language-Team"):
        team = po.metadata[field]
        assert team == "Veltrin maintainers <maintainers@veltrin.example>", (path, field, team)
    assert po.metadata["Language"] == language, (path, po.metadata["Language"])
    print("%s: %d messages, all translated" % (path, len(po)))


def main():
    source = sys.argv[1]
    run(["bash", "scripts/update-po.sh", "--check"], source)
    template = {
        (e.msgid, e.msgid_plural) for e in polib.pofile(os.path.join(source, "po/veltrin.pot"))
    }
    with open(os.path.join(source, "po/LINGUAS"), encoding="utf-8") as f:
        languages = [line.strip() for line in f if line.strip() and not line.startswith("#")]
    assert languages, "po/LINGUAS names no language"
    for language in languages:
        check(source, language, template)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.split("\n\n")[1])
    main()
