#!/usr/bin/env bash
# Builds the Debian package (build/vmc70_<version>_amd64.deb): vmc70, vmc70-admin, hartsim,
# hartcli, framedebug, desktop entries and icon.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DVMC_BUILD_TESTS=OFF -DVMC_BUILD_PERF=OFF >/dev/null
(cd build-release && cpack -G DEB >/dev/null)
ls build-release/vmc70_*.deb
