#!/usr/bin/env bash
# readme_examples_test.sh README BUILD: runs every command of the README's "```sh example" blocks,
# as written, from a folder laid out like the repository root after a build (build/ is BUILD),
# against a simulated actuator on COM 1. Each command must end with status 0.
set -euo pipefail

readme=$1
build=$(cd "$2" && pwd)

mapfile -t examples < <(awk '/^```sh example$/ { inside = 1; next }
  /^```/ { inside = 0 }
  inside && NF && $1 !~ /^#/ { print }' "$readme")
if [ "${#examples[@]}" -lt 5 ]; then
  echo "readme-examples: found ${#examples[@]} example commands in $readme" >&2
  exit 1
fi

work=$(mktemp -d)
ln -s "$build" "$work/build"
# shellcheck source=scripts/sim-on-link.sh
source "$(dirname "$0")/../../scripts/sim-on-link.sh"
sim_on_link "$build" "$work" --memory "$work/actuator.mem"
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
