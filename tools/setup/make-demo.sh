#!/usr/bin/env bash
# make-demo.sh DIR: a demo folder for the host program: LTR.DRV and a demo
# version-2 database (kept when already there).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$root/build/bin"
demo="$1"
mkdir -p "$demo"
cp -f "$bin/LTR.DRV" "$demo/LTR.DRV"
[[ -f "$demo/qalvoro.db" ]] || "$bin/qalvoro-host" --create-db "$demo/qalvoro.db" --demo
echo "Demo folder: $demo"
