#!/usr/bin/env bash
# Installs what the fuzz targets need on Debian 12 on top of the build's
# packages: clang with its libFuzzer and sanitizer runtimes.
exec "$(dirname "$0")/install-deps.sh" clang libclang-rt-dev
