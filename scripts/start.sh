#!/usr/bin/env bash
# Starts the window from the build tree (it finds build/data by itself).
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/bin/vesperkalend "$@"
