#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tessel need, and
# nothing when they are all there. Usage: scripts/deps.sh [extra packages...]
# (mono-mcs and mono-runtime build and run the C# examples of docs/library.md
# against libtessel.so, libmono-system-drawing4.0-cil, with libgdiplus, gives
# them System.Drawing; img2pdf, poppler-utils and librsvg2-bin place the PNG
# and SVG files at their printed size in the end-to-end tests; python3-zxing-cpp
# with python3-numpy, and ZXing for Java with a headless Java runtime, are the
# two readers besides zbarimg that decode the symbols in the tests.)
set -euo pipefail

packages=(cmake g++ make pkg-config bzip2 libpng-dev zlib1g-dev libqrencode-dev libgtest-dev
          zbar-tools python3 python3-png mono-mcs mono-runtime libmono-system-drawing4.0-cil
          img2pdf poppler-utils librsvg2-bin python3-zxing-cpp python3-numpy
          default-jre-headless libzxing-core-java libzxing-javase-java libjcommander-java "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
