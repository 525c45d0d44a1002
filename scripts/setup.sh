#!/usr/bin/env bash
# From a fresh Debian machine to a first symbol: installs what is missing,
# builds build/tessel and build/png2bmp, and writes hello.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/posix-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_STATIC_DEPS=ON >/dev/null
cmake --build build -j"$(nproc)"
build/tessel -o hello.png "Hello, world"
echo "Wrote $(pwd)/hello.png (log: $(pwd)/Tessel.log)"
