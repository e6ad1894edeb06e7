#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on simulated transmitters.
# Extra arguments go to the program: `bash scripts/run.sh loop.ini` starts it on a loop file,
# VARIANT=admin starts the administrator variant.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build vmc70 vmc70-admin framedebug hartsim hartcli
program=build/src/shell/vmc70
[ "${VARIANT:-user}" = admin ] && program=build/src/shell/vmc70-admin
exec "$program" --simulate "$@"
