#!/usr/bin/env bash
# Starts the most complete program of the editor that exists.
set -euo pipefail
cd "$(dirname "$0")/.."
exec ./build/app/zorelcontrol "$@"
