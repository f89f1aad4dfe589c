#!/bin/sh
# Stands in for qalvoro-v1convert in tests of the parent side. What it does
# depends on the source file's name: crash.mdb crashes, hang.mdb never ends
# (both after starting TARGET.part), limit.mdb reports its address-space limit
# and any other its arguments, both as a conversion error.
eval "source=\${$(($# - 1))} target=\${$#}"
case "$source" in
*crash.mdb | *hang.mdb) echo unfinished >"$target.part" ;;
esac
case "$source" in
*crash.mdb) kill -SEGV $$ ;;
*hang.mdb) exec sleep 100000 ;;
*limit.mdb)
  printf 'warning: noise before the error line\n3035\tlimit=%s\n' $(($(ulimit -v) * 1024)) >&2
  exit 1
  ;;
*)
  printf '9999\t%s \n' "$*" >&2
  exit 1
  ;;
esac
