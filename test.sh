#!/usr/bin/env bash
# Installs what the project needs, builds it and runs every test through CTest.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/tools/setup/install-deps.sh"
"$root/tools/setup/build.sh"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2 --timeout 600
