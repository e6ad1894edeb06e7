#!/usr/bin/env bash
# Builds the tools and talks to a simulated loop on a pseudo-terminal: hartsim plays the
# transmitters, hartcli is the master.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh build >/dev/null
bin=build
"$bin/sim/hartsim" "$@" > /tmp/hartsim.$$ 2>/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s /tmp/hartsim.$$ ] && break; sleep 0.1; done
port=$(head -1 /tmp/hartsim.$$); rm -f /tmp/hartsim.$$
echo "hartsim is on $port"
for addr in 0 1 2 3 4 5 6; do
  "$bin/tools/hartcli/hartcli" --port "$port" raw "$addr" 0 || true
  echo
done
