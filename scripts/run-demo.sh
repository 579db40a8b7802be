#!/usr/bin/env bash
# Starts a simulated actuator on a pseudo-terminal, points COM 1 at it and runs the desktop tool
# against it; the tool finds the demo configuration database in the build. Without a display it
# runs the command-line walk-through instead.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
# shellcheck source=scripts/sim-on-link.sh
source "$(dirname "$0")/sim-on-link.sh"
sim_on_link "$build" "$work"
export VELMAR_COM1="$work/actuator"
echo "Simulated actuator on $(readlink "$work/actuator") (COM 1)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the command-line" \
    "walk-through instead of the desktop tool."
  cli="$build/bin/velmar-cli"
  for command in "version" "identify" "hours run" "hours powered"; do
    echo "\$ velmar-cli $command"
    # shellcheck disable=SC2086
    "$cli" $command || true
  done
  exit 0
fi

# The tool finds the demo config.db in the build's share/velmar beside its bin folder; the demo's
# settings stay in the demo's folder, so the user's own settings are neither used nor changed.
echo "Starting velmar in $work"
(cd "$work" && XDG_CONFIG_HOME="$work/config" "$build/bin/velmar")
