#!/usr/bin/env bash
# readme_examples_test.sh README BUILD: runs every command of the README's "```sh example" blocks,
# as written, from a folder laid out like the repository root after a build (build/ is BUILD),
# against a simulated actuator on COM 1. Each command must end with status 0.
set -euo pipefail

readme=$1
build=$(cd "$2" && pwd)
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

mapfile -t examples < <(awk '/^```sh example$/ { inside = 1; next }
  /^```/ { inside = 0 }
  inside && NF && $1 !~ /^#/ { print }' "$readme")
if [ "${#examples[@]}" -lt 5 ]; then
  echo "readme-examples: found ${#examples[@]} example commands in $readme" >&2
  exit 1
fi

ln -s "$build" "$work/build"
"$build/bin/velmar-sim" --link "$work/actuator" --memory "$work/actuator.mem" \
  >"$work/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 200); do
  [ -e "$work/actuator" ] && break
  sleep 0.05
done
export VELMAR_COM1="$work/actuator" XDG_CONFIG_HOME="$work/config"
# A unit with a valid setup, as the examples expect of a real one.
(cd "$work" && build/bin/velmar-cli --yes setup download --config 1045210-001 >/dev/null 2>&1) || true

failed=0
for example in "${examples[@]}"; do
  if ! output=$(cd "$work" && timeout 120 bash -c "$example" </dev/null 2>&1); then
    printf 'readme-examples: FAILED: %s\n%s\n' "$example" "$output" >&2
    failed=1
  else
    printf 'readme-examples: ok: %s\n' "$example"
  fi
done
exit "$failed"
