#!/usr/bin/env bash
# Remakes po/veltrin.pot, the template of every text users read, from the sources that hold
# them, and brings each language's PO file (po/LINGUAS) up to date with it. Run by hand when
# a text changes, then commit both: the build reads the PO files and never writes them.
#   scripts/update-po.sh          remake the template and merge it into the PO files
#   scripts/update-po.sh --check  remake the template in a temporary folder and fail if the
#                                 committed one differs (its creation date aside)
usage="usage: scripts/update-po.sh [--check]"
set -euo pipefail
case "${1:-}" in
-h | --help) echo "$usage" && exit 0 ;;
"" | --check) ;;
*) echo "$usage" >&2 && exit 2 ;;
esac
cd "$(dirname "$0")/.."
command -v xgettext >/dev/null || { echo "update-po.sh: needs gettext" >&2 && exit 1; }
version=$(sed -n 's/^set(VELTRIN_VERSION \([^)]*\))$/\1/p' CMakeLists.txt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# C++: N_("...") and NP_("...", "...") mark the texts (board/text.h), a TRANSLATORS: comment
# above one says what translators need to know.
xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=N_ --keyword=NP_:1,2 \
    --add-comments=TRANSLATORS: --add-location=file --sort-by-file --output="$work/cpp.pot" \
    board/text.h window/design.h solver/summary.h window/qt/commandline.cpp
# The desktop entry and the AppStream metainfo, by the rules gettext and appstream ship.
xgettext --from-code=UTF-8 --language=Desktop --add-location=file --output="$work/desktop.pot" \
    data/example.veltrin.Veltrin.desktop.in
xgettext --from-code=UTF-8 --add-location=file --its=/usr/share/gettext/its/metainfo.its \
    --output="$work/metainfo.pot" data/example.veltrin.Veltrin.metainfo.xml.in
msgcat --use-first "$work/cpp.pot" "$work/desktop.pot" "$work/metainfo.pot" |
    sed -e "s/^\"Project-Id-Version: PACKAGE VERSION\\\\n\"/\"Project-Id-Version: Veltrin $version\\\\n\"/" \
        -e 's/^"Report-Msgid-Bugs-To: \\n"/"Report-Msgid-Bugs-To: maintainers@veltrin.example\\n"/' \
        -e 's/^# Copyright (C) YEAR THE PACKAGE.S COPYRIGHT HOLDER/# Copyright (C) Veltrin maintainers/' \
        -e 's/^# This file is distributed under the same license as the PACKAGE package./# This file is distributed under the same license as Veltrin (MIT)./' \
        -e 's/^# SOME DESCRIPTIVE TITLE./# The texts of Veltrin./' >"$work/veltrin.pot"

if [ "${1:-}" = --check ]; then
    if ! diff -u -I '^"POT-Creation-Date: ' po/veltrin.pot "$work/veltrin.pot"; then
        echo "update-po.sh: po/veltrin.pot is not the sources' (above); run scripts/update-po.sh" >&2
        exit 1
    fi
    exit 0
fi
cp "$work/veltrin.pot" po/veltrin.pot
while read -r lang; do
    [ -z "$lang" ] || [ "${lang#\#}" != "$lang" ] ||
        msgmerge --quiet --update --backup=none --no-fuzzy-matching "po/$lang.po" po/veltrin.pot
done <po/LINGUAS
