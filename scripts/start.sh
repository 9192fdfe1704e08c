#!/usr/bin/env bash
# Starts the window when it is built, otherwise shows what the maintenance tool offers.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -x build/bin/vesperkalend ]; then
  exec build/bin/vesperkalend "$@"
fi
echo "The window is not part of this build yet; running the maintenance tool instead." >&2
exec build/bin/vesperkalend-tool --help
