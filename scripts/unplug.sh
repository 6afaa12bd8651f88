#!/usr/bin/env bash
# Unplug cycles: CYCLES times (default 50) the simulator's adapter is pulled
# out while the tool is idle, polling, reading or uploading, then plugged
# back in and read again. Prints "name value" figures (messages, hangs, the
# tool's CPU while unplugged, correct reads); exits non-zero on a failure.
exec "$(dirname "$0")/soak.sh" --unplug-cycles "${1:-50}"
