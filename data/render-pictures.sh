#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Redraws the committed PNGs from their SVGs (needs rsvg-convert, Debian's librsvg2-bin): the icon's
# sizes for the icon theme and the program, and the welcome window's background at twice its
# 96-dpi size so it stays sharp on high-density screens. Building never needs this.
set -euo pipefail
cd "$(dirname "$0")"
id=io.github.facemorvelin.FaceMorvelin
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" "icons/hicolor/scalable/apps/$id.svg" \
        --output "icons/hicolor/${size}x${size}/apps/$id.png"
done
rsvg-convert --width 1194 --height 898 welcome/welcome-background.svg --output welcome/welcome-background.png
