#!/usr/bin/env bash
# Installs what the project needs, builds it, makes a demo folder and starts
# the host program on it. Run from the repository root on Debian 12.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/tools/setup/install-deps.sh"
"$root/tools/setup/build.sh"
"$root/tools/setup/make-demo.sh" "$root/demo"
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: start this on a desktop session (or set QT_QPA_PLATFORM)." >&2
  exit 1
fi
# The file lists start in the current folder: the demo's accounting files.
cd "$root/demo/v1/accounts"
exec "$root/build/bin/qalvoro-host" --app-path "$root/demo/" --settings QalvoroDemo \
  --db "$root/demo/qalvoro.db"
