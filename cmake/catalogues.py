#!/usr/bin/python3
"""Makes what the front ends read of the translations, at build time, from po/: the PO files
are the one place a translation is written, and nothing here writes to them.

usage: catalogues.py cpp PO_DIR OUT.cpp
           the C++ texts' catalogues, one a language of po/LINGUAS, as tables (window/language.h),
           and a pseudo-language ("en@pseudo": accented, about 40 % longer) that shows where a
           layout is tight
       catalogues.py manifest PO_DIR TEMPLATE OUT_DIR
           the page's web app manifest in each language, as manifest.LANG.webmanifest beside the
           English one: its name and description translated, its lang the language's tag

Reads PO files with polib (Debian's python3-polib)."""

import json
import os
import re
import sys

import polib


def languages(po_dir):
    with open(os.path.join(po_dir, "LINGUAS"), encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip() and not line.startswith("#")]


def catalogue(po_dir, language):
    po = polib.pofile(os.path.join(po_dir, language + ".po"))
    bad = [e.msgid for e in po if "fuzzy" in e.flags or not e.translated()]
    if bad:
        sys.exit("%s.po: not translated, or fuzzy: %s" % (language, bad))
    return po


def tag(language):
    """The language as a BCP 47 tag, as the page and the manifest write it: pt_BR -> pt-BR."""
    return language.replace("_", "-")


def plural_rule(po):
    """The Plural-Forms header as (nplurals, C expression in n)."""
    header = po.metadata.get("Plural-Forms", "nplurals=2; plural=(n != 1);")
    match = re.fullmatch(r"\s*nplurals\s*=\s*(\d+)\s*;\s*plural\s*=\s*(.+?)\s*;?\s*", header)
    if not match or not re.fullmatch(r"[n0-9\s()?:!=<>%&|+\-*/]+", match.group(2)):
        sys.exit("%s: a Plural-Forms this tool does not read: %r" % (po.fpath, header))
    return int(match.group(1)), match.group(2)


def cpp_string(text):
    """A C++ string literal of UTF-8 text, each byte outside printable ASCII as an octal escape
    (an escape is never followed by a digit that would extend it)."""
    out = []
    for byte in text.encode("utf-8"):
        c = chr(byte)
        if c in '"\\':
            out.append("\\" + c)
        elif 32 <= byte < 127:
            out.append(c)
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def of_the_program(entry):
    """Whether the program shows this text (the rest are the desktop entry's and metainfo's)."""
    return any(path.endswith((".h", ".cpp")) for path, _ in entry.occurrences)


def pseudo(text):
    """`text` accented and about 40 % longer, its placeholders and line breaks as they are."""
    if not text.strip():
        return text
    accents = str.maketrans("aeiouyAEIOUYcnsz", "áéíóúýÁÉÍÓÚÝçñšž")
    parts = re.split(r"(%\d|%d|\n)", text)  # the separators at the odd places
    shown = "".join(p if i % 2 else p.translate(accents) for i, p in enumerate(parts))
    return "[" + shown + "·" * (2 * sum(c.isalpha() for c in text) // 5) + "]"


def write_cpp(po_dir, out):
    template = polib.pofile(os.path.join(po_dir, "veltrin.pot"))
    books = [(language, catalogue(po_dir, language)) for language in languages(po_dir)]
    lines = [
        "// Made by cmake/catalogues.py from po/: the translations, as window/language.cpp reads",
        "// them. Do not edit; edit the PO files.",
        '#include "window/language.h"',
        "",
        "namespace veltrin {",
        "namespace {",
        "",
    ]
    names = []
    for language, po in books + [("en@pseudo", None)]:
        name = re.sub(r"\W", "_", language)
        names.append((language, name))
        if po is None:
            nplurals, rule = 2, "(n != 1)"
            entries = [
                (e.msgid, [pseudo(e.msgid)] if not e.msgid_plural else [pseudo(e.msgid)] * 2)
                for e in template
                if of_the_program(e)
            ]
        else:
            nplurals, rule = plural_rule(po)
            entries = [
                (
                    e.msgid,
                    [e.msgstr]
                    if not e.msgid_plural
                    else [e.msgstr_plural[i] for i in range(nplurals)],
                )
                for e in po
                if of_the_program(e)
            ]
        entries.sort(key=lambda e: e[0].encode("utf-8"))
        lines.append("unsigned long %s_plural([[maybe_unused]] unsigned long n) {" % name)
        lines.append("    return static_cast<unsigned long>(%s);" % rule)
        lines.append("}")
        for i, (_, forms) in enumerate(entries):
            lines.append(
                "constexpr const char* %s_%d[] = {%s};"
                % (name, i, ", ".join(cpp_string(f) for f in forms))
            )
        lines.append("constexpr Message %s_messages[] = {" % name)
        for i, (msgid, forms) in enumerate(entries):
            lines.append("    {%s, %s_%d, %d}," % (cpp_string(msgid), name, i, len(forms)))
        lines.append("};")
        lines.append("")
    lines.append("} // namespace")
    lines.append("")
    lines.append("const std::span<const Catalogue> catalogues() {")
    lines.append("    static constexpr Catalogue all[] = {")
    for language, name in names:
        # The pseudo-language is English to everything outside: the page's lang, its manifest.
        shown = "en" if language == "en@pseudo" else tag(language)
        lines.append(
            "        {%s, %s, %s_plural, %s_messages},"
            % (cpp_string(language), cpp_string(shown), name, name)
        )
    lines.append("    };")
    lines.append("    return all;")
    lines.append("}")
    lines.append("")
    lines.append("} // namespace veltrin")
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def write_manifests(po_dir, template, out_dir):
    with open(template, encoding="utf-8") as f:
        english = json.load(f)
    for language in languages(po_dir):
        po = catalogue(po_dir, language)
        translated = {e.msgid: e.msgstr for e in po}
        manifest = dict(english)
        for key in ("name", "description"):
            manifest[key] = translated.get(english[key], english[key])
        manifest["lang"] = tag(language)
        with open(
            os.path.join(out_dir, "manifest.%s.webmanifest" % tag(language)), "w", encoding="utf-8"
        ) as f:
            json.dump(manifest, f, ensure_ascii=False, indent=2)
            f.write("\n")


def main():
    if sys.argv[1:2] == ["cpp"] and len(sys.argv) == 4:
        write_cpp(sys.argv[2], sys.argv[3])
    elif sys.argv[1:2] == ["manifest"] and len(sys.argv) == 5:
        write_manifests(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        sys.exit(__doc__.split("\n\n")[1])


if __name__ == "__main__":
    main()
