#!/usr/bin/env python3
"""An independent evaluation of the IGRF-12 field, to check the program's.

It shares nothing with the program's synthesis routine: the potential is
summed with Ferrers functions from their textbook recursion and Schmidt
factors from factorials, the field is its numerical gradient, and the
geodetic-to-geocentric step uses the prime-vertical radius. Time is the same
convention as the program's (years since 2000.0 = days / 365.25, linear between
five-year epochs, the 2015-2020 secular variation past 2015).

Usage: check_field.py [COEFFS.txt]
Prints X (north), Y (east) in nT and the declination in degrees for the points
the unit tests compare against.
"""

import math
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DEFAULT_INPUT = ROOT / "tools" / "igrf" / "igrf12coeffs.txt"
EPOCHS = list(range(1900, 2020, 5))
A_WGS84 = 6378.137
F_WGS84 = 1 / 298.257223563
REFERENCE_RADIUS = 6371.2
MAX_DEGREE = 13

# (label, day number since 2000-01-01, geodetic latitude, longitude, altitude km)
POINTS = [
    ("0N 0E 2015-01-01", 5479, 0.0, 0.0, 0.0),
    ("Istanbul 2015-01-01", 5479, 41.01, 28.97, 0.0),
    ("Istanbul 2019-06-01", 7091, 41.01, 28.97, 0.0),
    ("Washington 1990-07-01", -3471, 38.9, -77.0, 0.0),
    ("Sydney 2010-01-01 10 km", 3653, -33.87, 151.21, 10.0),
    ("Reykjavik 1955-01-01", -16436, 64.13, -21.9, 0.0),
    ("75S 120E 2017-03-01", 6269, -75.0, 120.0, 0.0),
]


def read(path):
    coeffs = {}
    for line in Path(path).read_text(encoding="ascii").splitlines():
        f = line.split()
        if not f or f[0] not in ("g", "h"):
            continue
        values = [float(v) for v in f[3:]]
        coeffs[(f[0], int(f[1]), int(f[2]))] = values
    return coeffs


def at_time(coeffs, years_since_2000):
    year = 2000.0 + years_since_2000
    out = {}
    for key, values in coeffs.items():
        if year >= 2015.0:
            out[key] = values[23] + (year - 2015.0) * values[24]
            continue
        i = max(0, min(22, int((year - 1900.0) // 5)))
        frac = (year - EPOCHS[i]) / 5.0
        out[key] = values[i] + frac * (values[i + 1] - values[i])
    return out


def ferrers(n, m, x):
    """P_n^m(x) without the Condon-Shortley phase."""
    s = math.sqrt(max(0.0, 1.0 - x * x))
    pmm = 1.0
    for k in range(1, m + 1):
        pmm *= (2 * k - 1) * s
    if n == m:
        return pmm
    p1 = x * (2 * m + 1) * pmm
    if n == m + 1:
        return p1
    p0 = pmm
    for k in range(m + 2, n + 1):
        p0, p1 = p1, ((2 * k - 1) * x * p1 - (k + m - 1) * p0) / (k - m)
    return p1


def schmidt(n, m):
    if m == 0:
        return 1.0
    return math.sqrt(2.0 * math.factorial(n - m) / math.factorial(n + m))


def potential(gh, r, theta, phi):
    x = math.cos(theta)
    total = 0.0
    for n in range(1, MAX_DEGREE + 1):
        scale = (REFERENCE_RADIUS / r) ** (n + 1)
        for m in range(0, n + 1):
            g = gh.get(("g", n, m), 0.0)
            h = gh.get(("h", n, m), 0.0) if m else 0.0
            total += scale * (g * math.cos(m * phi) + h * math.sin(m * phi)) * (
                schmidt(n, m) * ferrers(n, m, x))
    return REFERENCE_RADIUS * total


def field(gh, lat_deg, lon_deg, alt_km):
    lat = math.radians(lat_deg)
    e2 = F_WGS84 * (2 - F_WGS84)
    nu = A_WGS84 / math.sqrt(1 - e2 * math.sin(lat) ** 2)
    rho = (nu + alt_km) * math.cos(lat)
    z = (nu * (1 - e2) + alt_km) * math.sin(lat)
    r = math.hypot(rho, z)
    lat_c = math.atan2(z, rho)
    theta = math.pi / 2 - lat_c
    phi = math.radians(lon_deg)
    dr, dang = 1e-3, 1e-6
    br = -(potential(gh, r + dr, theta, phi) - potential(gh, r - dr, theta, phi)) / (2 * dr)
    bt = -(potential(gh, r, theta + dang, phi) - potential(gh, r, theta - dang, phi)) / (
        2 * dang * r)
    bp = -(potential(gh, r, theta, phi + dang) - potential(gh, r, theta, phi - dang)) / (
        2 * dang * r * math.sin(theta))
    psi = lat - lat_c
    x = -math.cos(psi) * bt - math.sin(psi) * br
    y = bp
    return x, y


def main(argv):
    coeffs = read(argv[1] if len(argv) > 1 else DEFAULT_INPUT)
    for label, day, lat, lon, alt in POINTS:
        x, y = field(at_time(coeffs, day / 365.25), lat, lon, alt)
        print(f"{label:26s} X {x:9.1f}  Y {y:9.1f}  D {math.degrees(math.atan2(y, x)):8.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
