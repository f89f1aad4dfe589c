#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into a temporary
# root and checks what it holds: the programs, the component library,
# LTR.DRV, the desktop entry and the --help texts; then runs the packaged
# host program: --help, a new database and an unattended branch run of a
# generated accounts file with a report.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > cpack.log || { cat cpack.log; fail cpack; }
deb="$(ls out/*.deb)"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6sql6-sqlite' || fail "no database driver dependency"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies"
dpkg -x "$deb" root

lib=root/usr/lib/qalvoro
for file in qalvoro-host qalvoro-v1convert qalvoro-make-v1 libDravolte_01.so LTR.DRV; do
  [ -f "$lib/$file" ] || fail "$file is not in the package"
done
for program in qalvoro-host qalvoro-v1convert qalvoro-make-v1; do
  [ -x "root/usr/bin/$program" ] || fail "$program is not on the path"
  grep -q -- '--help' "root/usr/share/doc/qalvoro-migration/help/$program.txt" ||
    fail "no --help text of $program"
done
grep -q '^Exec=qalvoro-host' root/usr/share/applications/qalvoro-host.desktop ||
  fail "no desktop entry for the host program"

root/usr/bin/qalvoro-host --help | grep -q -- '--stock-folder' || fail "qalvoro-host --help"

# An administrator's run: a copy of LTR.DRV in a folder of their own.
mkdir app
cp "$lib/LTR.DRV" app/
chmod u+w app/LTR.DRV
root/usr/bin/qalvoro-host --create-db app/v2.db --demo || fail "--create-db"
root/usr/bin/qalvoro-make-v1 --out v1 --product accounts --accounts 30 --entries 10 > /dev/null ||
  fail "qalvoro-make-v1"
set +e
XDG_CONFIG_HOME="$work/config" QALVORO_WORKING_COPY="$work/copy.tmp" \
  root/usr/bin/qalvoro-host --batch branch --app-path app --db app/v2.db \
  --accounts-folder v1/accounts --accounts-file ACC2003.MDB --old-branch 1 --branch 1 \
  --overwrite yes-all --report report.json > run.log 2>&1
code=$?
set -e
[ "$code" -eq 0 ] || { cat run.log; fail "the branch run ended with $code"; }
grep -q '^summary accounts: imported' run.log || { cat run.log; fail "no summary"; }
grep -q '"kind": "journal"' report.json || fail "no report"
echo "package: $(basename "$deb") installs and runs"
