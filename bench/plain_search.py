#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
"""The face search as a user would write it with Debian's python3-opencv, to compare speeds with.

One photo after another: read at full size, resize to fit 1600 x 1200, find faces with OpenCV's Haar
cascade, cut each face to 48 x 48 grey levels and compare it with the chosen face by the sum of absolute
differences. Prints the matches, then one line: photos, seconds, photos per second.

Usage: /usr/bin/python3 plain_search.py --face PHOTO [--pick N] FOLDER
"""

import argparse
import os
import sys
import time

import cv2
import numpy as np

CASCADE = "/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml"
PHOTO_ENDINGS = (".bmp", ".tif", ".gif", ".jpg", ".png", ".pcx", ".tga", ".jp2", ".j2k")
FACE_SIDE = 48
MATCH = 70.0


def fit(image, width=1600, height=1200):
    scale = min(width / image.shape[1], height / image.shape[0])
    if scale >= 1:
        return image
    size = (round(image.shape[1] * scale), round(image.shape[0] * scale))
    return cv2.resize(image, size)


def faces_in(cascade, image):
    grey = cv2.cvtColor(fit(image), cv2.COLOR_BGR2GRAY)
    boxes = cascade.detectMultiScale(grey, scaleFactor=1.1, minNeighbors=5, minSize=(24, 24))
    return [cv2.resize(grey[y:y + h, x:x + w], (FACE_SIDE, FACE_SIDE)) for (x, y, w, h) in boxes]


def score(face, chosen):
    distance = int(np.abs(face.astype(np.int32) - chosen.astype(np.int32)).sum())
    return 100.0 - distance * 100.0 / (FACE_SIDE * FACE_SIDE * 255)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--face", required=True)
    parser.add_argument("--pick", type=int, default=1)
    parser.add_argument("folder")
    args = parser.parse_args()

    start = time.monotonic()
    cascade = cv2.CascadeClassifier(CASCADE)
    source = cv2.imread(args.face)
    if source is None:
        sys.exit(f"cannot read {args.face}")
    chosen_faces = faces_in(cascade, source)
    if len(chosen_faces) < args.pick:
        sys.exit(f"{args.face} has {len(chosen_faces)} faces")
    chosen = chosen_faces[args.pick - 1]

    matches = {}
    photos = 0
    for name in sorted(os.listdir(args.folder)):
        if not name.lower().endswith(PHOTO_ENDINGS):
            continue
        photos += 1
        image = cv2.imread(os.path.join(args.folder, name))
        if image is None:
            continue
        for face in faces_in(cascade, image):
            best = max(matches.get(name, 0.0), score(face, chosen))
            if best >= MATCH:
                matches[name] = best
    seconds = time.monotonic() - start

    for name, best in sorted(matches.items(), key=lambda item: -item[1]):
        print(f"{best:.4f}\t{name}")
    print(f"{photos} photos, {seconds:.2f} s, {photos / seconds:.2f} photos/s, {len(matches)} matched")


if __name__ == "__main__":
    main()
