#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from its SVG (rsvg-convert,
# Debian package librsvg2-bin). The PNGs are committed; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/icons"
for s in 16 22 24 32 48 64 128 256; do
  mkdir -p "${s}x${s}"
  rsvg-convert -w "$s" -h "$s" org.quillon.Quillon.svg -o "${s}x${s}/org.quillon.Quillon.png"
done
