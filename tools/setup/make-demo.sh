#!/usr/bin/env bash
# make-demo.sh DIR: a demo folder for the host program: LTR.DRV, a demo
# version-2 database and sample version-1 folders (DIR/v1/accounts with
# General.MDB and ACC2003.MDB, DIR/v1/stock with Stock001.mdb). What is
# already there is kept.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$root/build/bin"
demo="$1"
mkdir -p "$demo"
cp -f "$bin/LTR.DRV" "$demo/LTR.DRV"
[[ -f "$demo/qalvoro.db" ]] || "$bin/qalvoro-host" --create-db "$demo/qalvoro.db" --demo
[[ -d "$demo/v1" ]] || "$bin/qalvoro-make-v1" --out "$demo/v1" --product both \
  --accounts 60 --entries 40 --items 30 --invoices 20
echo "Demo folder: $demo (version-1 sample folders in $demo/v1)"
