#!/usr/bin/env bash
# Regenerates the manual's screenshots (docs/images) from the real program under Xvfb, on the
# built-in simulated loop, with fresh settings.
# usage: scripts/screenshots.sh [BUILD_DIR, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build}
bash scripts/deps.sh
bash scripts/build.sh "$build" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" && mkdir -m 700 "$work/run"
HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/screenshots/vmc70-screenshots" docs/images
