#!/usr/bin/env bash
# Starts a simulated actuator on a pseudo-terminal, points COM 1 at it and runs the tool against it.
set -euo pipefail

build=${1:-build}
work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$build/sim/velmar-sim" --link "$work/actuator" >"$work/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ -e "$work/actuator" ] && break
  sleep 0.05
done
export VELMAR_COM1="$work/actuator"
echo "Simulated actuator on $(readlink "$work/actuator") (COM 1)"

cli="$build/cli/velmar-cli"
for command in "version" "identify" "hours run" "hours powered"; do
  echo "\$ velmar-cli $command"
  # shellcheck disable=SC2086
  "$cli" $command || true
done
