#!/usr/bin/env python3
"""Heat maps and a table of the projection series' errors from projection_accuracy's CSV.

    plot_accuracy.py ERRORS.csv OUTPUT_DIR

Writes OUTPUT_DIR/accuracy-<ellipsoid>.png (forward and inverse errors of both series, in
millimetres on a log scale) and prints the largest errors inside a zone (l <= 3 deg) and in the
neighbour-zone band (3 < l <= 9 deg) as a Markdown table.
"""
import csv
import sys
from collections import defaultdict

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from matplotlib.colors import LogNorm  # noqa: E402

SERIES = {"classic": "3-членный ряд", "kruger": "4-членный ряд"}
ELLIPSOIDS = {"krasovsky": "эллипсоид Красовского", "wgs84": "эллипсоид WGS84"}
DIRECTIONS = {"forward_mm": "B, L → x, y", "inverse_mm": "x, y → B, L"}
FLOOR_MM = 1e-3  # below a micrometre the errors are rounding, shown as the floor colour
ZONE_EDGE = 3.0


def read(path):
    grids = defaultdict(dict)  # (ellipsoid, series, direction) -> {(B, l): mm}
    for row in csv.DictReader(open(path, newline="")):
        point = (float(row["B"]), float(row["l"]))
        for direction in DIRECTIONS:
            grids[(row["ellipsoid"], row["series"], direction)][point] = float(row[direction])
    return grids


def as_array(values):
    lats = sorted({b for b, _ in values})
    lons = sorted({l for _, l in values})
    grid = np.array([[values[(b, l)] for l in lons] for b in lats])
    return np.array(lats), np.array(lons), grid


def plot(grids, ellipsoid, path):
    fig, axes = plt.subplots(2, 2, figsize=(10, 9), sharex=True, sharey=True, constrained_layout=True)
    norm = LogNorm(vmin=FLOOR_MM, vmax=1e3)
    for row, direction in enumerate(DIRECTIONS):
        for col, series in enumerate(SERIES):
            lats, lons, grid = as_array(grids[(ellipsoid, series, direction)])
            ax = axes[row][col]
            mesh = ax.pcolormesh(lons, lats, np.maximum(grid, FLOOR_MM), norm=norm, cmap="viridis",
                                 shading="nearest")
            # Contours from a millimetre up: below it the classic inverse shows the 0.1 mm
            # stopping rule of the footpoint latitude as noise.
            levels = [v for v in (1, 10, 100, 1000) if grid.max() > v]
            if levels:
                contours = ax.contour(lons, lats, grid, levels=levels, colors="white", linewidths=0.7)
                ax.clabel(contours, fmt=lambda v: f"{v:g} мм", fontsize=7)
            ax.axvline(ZONE_EDGE, color="red", linestyle="--", linewidth=1)
            ax.set_title(f"{SERIES[series]}, {DIRECTIONS[direction]}")
            if row == 1:
                ax.set_xlabel("l, разность долгот от осевого меридиана, °")
            if col == 0:
                ax.set_ylabel("B, широта, °")
    fig.colorbar(mesh, ax=axes, label="ошибка, мм (лог. шкала)", shrink=0.8)
    fig.suptitle(f"Ошибка рядов относительно точной поперечной проекции Меркатора, {ELLIPSOIDS[ellipsoid]}"
                 "\n(красная линия — край шестиградусной зоны, l = 3°)")
    fig.savefig(path, dpi=90)
    plt.close(fig)


def largest(values, inside):
    points = [(mm, p) for p, mm in values.items() if (p[1] <= ZONE_EDGE) == inside]
    return max(points)


def main():
    grids = read(sys.argv[1])
    out_dir = sys.argv[2]
    for ellipsoid in ELLIPSOIDS:
        plot(grids, ellipsoid, f"{out_dir}/accuracy-{ellipsoid}.png")
    print("| Эллипсоид | Ряд | Направление | Зона, l ≤ 3° | Соседняя полоса, 3° < l ≤ 9° |")
    print("|---|---|---|---|---|")
    for ellipsoid in ELLIPSOIDS:
        for series in SERIES:
            for direction in DIRECTIONS:
                values = grids[(ellipsoid, series, direction)]
                cells = []
                for inside in (True, False):
                    mm, (b, l) = largest(values, inside)
                    cells.append(f"{mm:.3g} мм (B {b:g}°, l {l:g}°)")
                print(f"| {ELLIPSOIDS[ellipsoid]} | {SERIES[series]} | {DIRECTIONS[direction]} | "
                      f"{cells[0]} | {cells[1]} |")


if __name__ == "__main__":
    main()
