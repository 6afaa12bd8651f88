#!/usr/bin/env bash
# Installs what the fuzz targets need on Debian 12 (clang and its libFuzzer
# and sanitizer runtimes), on top of install-deps.sh; nothing when present.
set -euo pipefail
"$(dirname "$0")/install-deps.sh"

packages=(clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "install-fuzz-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
