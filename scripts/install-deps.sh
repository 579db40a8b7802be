#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the fuzz targets and the demo need, when they are missing.
set -euo pipefail

packages=(g++ make cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev liblzo2-dev
  qt6-base-dev qt6-charts-dev libgl-dev clang-14 libclang-rt-14-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
