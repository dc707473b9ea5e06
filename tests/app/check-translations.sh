#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Fails when a text the program translates is missing from the German phrase book, or the phrase book
# holds texts the program no longer has: lupdate on a copy of the sources must find nothing new and
# keep nothing vanished, and every text handed to Translate() must carry the mark lupdate looks for.
set -euo pipefail
lupdate=$1
source=$2
ts=app/translations/face-morvelin_de.ts

# The only calls that hand on a text marked elsewhere: the scan's stage names and the result list's
# column titles are marked where they are written, in search/.
unmarked=$(grep -n 'Translate(' "$source"/app/*.cpp "$source"/controls/*.cpp \
    | grep -v 'QT_TRANSLATE_NOOP' \
    | grep -v -e 'Translate(PhotoScan::stageText(' -e 'Translate(english.toString())' \
    | grep -v -e '/app/Translate.cpp:' || true)
if [[ -n $unmarked ]]; then
    echo "texts reach Translate() without a QT_TRANSLATE_NOOP mark:"
    echo "$unmarked"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source/app" "$source/controls" "$source/search" "$work/"
cd "$work"
report=$("$lupdate" app controls search -ts "$ts" 2>&1)
echo "$report"
if ! grep -q '(0 new and' <<<"$report"; then
    echo "marked texts are missing from $ts:"
    grep -B1 -A2 'type="unfinished"' "$ts" | grep '<source>' || true
    exit 1
fi
if grep -q -e 'type="vanished"' -e 'type="obsolete"' -e 'type="unfinished"' "$ts"; then
    echo "$ts holds texts the program no longer has, or untranslated ones:"
    grep -B2 -e 'type="vanished"' -e 'type="obsolete"' -e 'type="unfinished"' "$ts" | grep '<source>' || true
    exit 1
fi
