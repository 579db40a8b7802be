#!/usr/bin/env bash
# check-install.sh BUILD: installs the build tree BUILD into a temporary prefix and checks that the
# installation is complete (programs, database, desktop entry, icon, manual pages, completion) and
# that the installed velmar-cli, run from an unrelated folder without --db, reads the installed
# configuration database.
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/velmar bin/velmar-cli bin/velmar-sim share/velmar/config.db \
  share/applications/velmar.desktop share/icons/hicolor/48x48/apps/velmar.png \
  share/man/man1/velmar.1 share/man/man1/velmar-cli.1 share/man/man1/velmar-sim.1 \
  share/bash-completion/completions/velmar-cli; do
  if [ ! -f "$prefix/$file" ]; then
    echo "check-install: $file is not installed" >&2
    exit 1
  fi
done

mkdir "$prefix/elsewhere"
expected=$(tr -d '\r' <"$(dirname "$0")/../data/VersionAndPartNo.cfg")
actual=$(cd "$prefix/elsewhere" && "$prefix/bin/velmar-cli" db version | tr -d '\r')
if [ "$actual" != "$expected" ]; then
  printf 'check-install: velmar-cli db version printed\n%s\ninstead of\n%s\n' "$actual" \
    "$expected" >&2
  exit 1
fi
echo "check-install: the installed velmar-cli reads the installed config.db"
