#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Puts the licence and copyright lines (SPDX) at the top of every source file git tracks: C++ files,
# .in templates, CMake files, shell and Python scripts. A file that has them is left as it is, so the
# script can run again after any merge; a shebang or an XML declaration stays the first line.
# Usage: add-spdx-headers.sh [--check]     (--check changes nothing, names the files without them
#                                           and exits 1 when there are any)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

copyright="SPDX-FileCopyrightText: 2026 The Face Morvelin developers"
license="SPDX-License-Identifier: MIT"
check=false
[ "${1:-}" = "--check" ] && check=true

sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -z
    else
        find . -path ./build -prune -o -type f -printf '%P\0'
    fi | grep -zE '\.(cpp|h|in|cmake|sh|py)$|(^|/)CMakeLists\.txt$' | grep -zv '^tests/data/'
}

# The comment that suits the file: by its name, the part before .in for templates.
comment_style() {
    case "${1%.in}" in
        *.cpp | *.h) echo '//' ;;
        *.xml) echo '<!--' ;;
        *.[1-9]) echo '.\"' ;;
        *) echo '#' ;;
    esac
}

has_header() {
    head -n 5 "$1" | grep -q 'SPDX-License-Identifier:'
}

add_header() {
    local file=$1 style header first
    style=$(comment_style "$file")
    case "$style" in
        '<!--') header="<!-- $copyright -->"$'\n'"<!-- $license -->" ;;
        *) header="$style $copyright"$'\n'"$style $license" ;;
    esac
    first=$(head -n 1 "$file")
    {
        if [[ $first == '#!'* || $first == '<?xml'* ]]; then
            printf '%s\n%s\n' "$first" "$header"
            tail -n +2 "$file"
        elif [ "$style" = '//' ]; then
            # A blank line keeps the header apart from the code, as the headers in this tree are.
            printf '%s\n\n' "$header"
            cat "$file"
        else
            printf '%s\n' "$header"
            cat "$file"
        fi
    } >"$file.spdx"
    chmod --reference="$file" "$file.spdx"
    mv "$file.spdx" "$file"
}

missing=0
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    has_header "$file" && continue
    if $check; then
        echo "no SPDX header: $file"
        missing=$((missing + 1))
    else
        add_header "$file"
        echo "added: $file"
    fi
done < <(sources)

if $check && [ "$missing" -gt 0 ]; then
    echo "$missing source files lack the SPDX header; scripts/add-spdx-headers.sh adds it" >&2
    exit 1
fi
