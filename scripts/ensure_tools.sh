#!/usr/bin/env bash
# Installs with apt-get the build tools this machine lacks, named as Debian
# packages: g++, cmake, make, libgtest-dev, clang. Each is checked first and
# only the missing ones are installed (after one apt-get update), which needs
# root; otherwise the missing packages are named and the script fails.
set -euo pipefail

have() {
  case "$1" in
    libgtest-dev) [ -f /usr/include/gtest/gtest.h ] ;;
    clang) command -v clang++ >/dev/null 2>&1 ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac
}

missing=()
for pkg in "$@"; do
  have "$pkg" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "Missing build tools: ${missing[*]} (install them with apt-get as root)" >&2
  exit 1
fi
echo "Installing ${missing[*]} with apt-get"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
