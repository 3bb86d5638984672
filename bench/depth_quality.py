#!/usr/bin/python3
"""How well the depth maps rank pixels by depth on real scenes with a known depth.

Runs the real zarvik-convert --depth-map on the left picture of each stereo pair,
once with the classic depth and once per --scene, and prints the Spearman rank
correlation between the depth map (larger: nearer) and the reference disparity
(larger: nearer) over the pixels whose reference is known. Two references per pair
where the data allow: the pair's own ground truth, and disparity computed from the
rectified pair with OpenCV's semi-global matcher.

The pictures are not part of the project; point --skimage-data and --opencv-data at
the data folders of Debian's python3-skimage and opencv-doc packages, e.g. after
    apt-get download python3-skimage opencv-doc && dpkg -x <each>.deb /tmp/data
    --skimage-data /tmp/data/usr/lib/python3/dist-packages/skimage/data
    --opencv-data /tmp/data/usr/share/doc/opencv-doc/examples/data
Needs python3-numpy, python3-scipy and python3-opencv from Debian (run it with
Debian's /usr/bin/python3).

With --look DIR it also writes every depth map it judged into DIR, and the maps of
the pictures without a reference given with --picture, to be looked at.
"""
import argparse
import os
import subprocess
import sys
import tempfile

import cv2
import numpy as np
from scipy.stats import spearmanr

SCENES = ["auto", "landscape", "portrait", "flat"]
SAMPLE = 200_000  # pixels drawn for each correlation, for speed


def motorcycle(skimage_dir):
    if not skimage_dir:
        return None
    truth = np.load(os.path.join(skimage_dir, "motorcycle_disp.npz"))["arr_0"]
    truth = np.where(np.isfinite(truth), truth, 0).astype(np.float32)
    return ("motorcycle", os.path.join(skimage_dir, "motorcycle_left.png"),
            os.path.join(skimage_dir, "motorcycle_right.png"), truth)


def aloe(opencv_dir):
    if not opencv_dir:
        return None
    truth = cv2.imread(os.path.join(opencv_dir, "aloeGT.png"), cv2.IMREAD_GRAYSCALE)
    return ("aloe", os.path.join(opencv_dir, "aloeL.jpg"), os.path.join(opencv_dir, "aloeR.jpg"),
            truth.astype(np.float32))


def semi_global(left_path, right_path):
    """Disparity of the rectified pair, 0 where the matcher found none."""
    left = cv2.imread(left_path, cv2.IMREAD_GRAYSCALE)
    right = cv2.imread(right_path, cv2.IMREAD_GRAYSCALE)
    numbers = 16 * max(1, left.shape[1] // 64)  # a disparity range of a quarter of the width
    block = 5
    matcher = cv2.StereoSGBM_create(minDisparity=0, numDisparities=numbers, blockSize=block,
                                    P1=8 * block * block, P2=32 * block * block,
                                    uniquenessRatio=10, speckleWindowSize=100, speckleRange=2,
                                    mode=cv2.STEREO_SGBM_MODE_HH)
    disparity = matcher.compute(left, right).astype(np.float32) / 16.0
    return np.where(disparity > 0, disparity, 0)


def depth_map(convert, picture, scene, folder):
    anaglyph = os.path.join(folder, "anaglyph.bmp")
    depth = os.path.join(folder, f"depth-{scene}.png")
    command = [convert, picture, anaglyph, "--depth-map", depth]
    if scene != "classic":
        command += ["--scene", scene, "--verbose"]
    run = subprocess.run(command, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"{' '.join(command)} failed: {run.stderr.strip()}")
    picked = run.stderr.strip().rsplit(" ", 1)[-1] if scene == "auto" else scene
    return cv2.imread(depth, cv2.IMREAD_GRAYSCALE).astype(np.float32), picked


def correlation(depth, reference, random):
    known = np.flatnonzero(reference.ravel() > 0)
    if known.size > SAMPLE:
        known = random.choice(known, SAMPLE, replace=False)
    return spearmanr(depth.ravel()[known], reference.ravel()[known]).correlation


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--convert", default="build/tools/zarvik-convert")
    parser.add_argument("--skimage-data")
    parser.add_argument("--opencv-data")
    parser.add_argument("--look", help="write the depth maps into this folder")
    parser.add_argument("--picture", action="append", default=[],
                        help="a picture without a reference, to look at (needs --look)")
    args = parser.parse_args()

    pairs = [p for p in (motorcycle(args.skimage_data), aloe(args.opencv_data)) if p]
    if not pairs:
        sys.exit("no data: give --skimage-data and/or --opencv-data")
    random = np.random.default_rng(7)
    columns = ["lower nearer", "classic"] + SCENES
    print(f"{'scene':<12}{'reference':<12}" + "".join(f"{c:>14}" for c in columns))
    totals = {c: [] for c in columns}
    with tempfile.TemporaryDirectory() as folder:
        for name, left, right, truth in pairs:
            maps = {}
            picked = ""
            for scene in ["classic"] + SCENES:
                maps[scene], which = depth_map(args.convert, left, scene, folder)
                if scene == "auto":
                    picked = which
                if args.look:
                    os.makedirs(args.look, exist_ok=True)
                    cv2.imwrite(os.path.join(args.look, f"{name}-{scene}.png"), maps[scene])
            height, width = truth.shape
            maps["lower nearer"] = np.repeat(np.arange(height, dtype=np.float32)[:, None], width, 1)
            for label, reference in (("truth", truth), ("sgbm", semi_global(left, right))):
                row = {c: correlation(maps[c], reference, random) for c in columns}
                if label == "truth":
                    for c in columns:
                        totals[c].append(row[c])
                print(f"{name:<12}{label:<12}" + "".join(f"{row[c]:>14.3f}" for c in columns))
            print(f"{'':<12}auto picked {picked}")
        for picture in args.picture:
            if not args.look:
                sys.exit("--picture needs --look")
            base = os.path.splitext(os.path.basename(picture))[0]
            for scene in ["classic"] + SCENES:
                depth, which = depth_map(args.convert, picture, scene, folder)
                cv2.imwrite(os.path.join(args.look, f"{base}-{scene}.png"), depth)
                if scene == "auto":
                    print(f"{base}: auto picked {which}")
    print(f"{'mean':<12}{'truth':<12}" + "".join(f"{np.mean(totals[c]):>14.3f}" for c in columns))


if __name__ == "__main__":
    main()
