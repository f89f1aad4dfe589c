#!/usr/bin/env bash
# A throwaway PostgreSQL server for tests, on 127.0.0.1 only.
#
#   pg-cluster.sh start STATE_DIR PORT   initdb and start a cluster on the first
#                                        free port from PORT on; writes its URL
#                                        (role "sa", password "sa") to
#                                        STATE_DIR/url
#   pg-cluster.sh stop STATE_DIR         stop the cluster and delete it
#
# As root the server runs as the "postgres" system user. The binaries are
# taken from PG_BIN, else the newest /usr/lib/postgresql/*/bin.
set -euo pipefail

usage() {
  echo "usage: $0 start STATE_DIR PORT | stop STATE_DIR" >&2
  exit 2
}

pg_bin() {
  if [[ -n "${PG_BIN:-}" ]]; then
    echo "$PG_BIN"
    return
  fi
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [[ -n "$dir" ]] || { echo "no PostgreSQL binaries under /usr/lib/postgresql" >&2; exit 1; }
  echo "$dir"
}

# Runs a command as the server's user.
as_server() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

stop_cluster() {
  local state=$1
  [[ -f "$state/cluster" ]] || return 0
  local data
  data=$(cat "$state/cluster")
  if [[ -f "$data/db/postmaster.pid" ]]; then
    as_server "$(pg_bin)/pg_ctl" -D "$data/db" stop -m fast -w >/dev/null || true
  fi
  rm -rf "$data"
  rm -f "$state/cluster" "$state/url"
}

start_cluster() {
  local state=$1 port=$2 bin data
  bin=$(pg_bin)
  mkdir -p "$state"
  stop_cluster "$state"
  data=$(mktemp -d "${TMPDIR:-/tmp}/qalvoro-pg.XXXXXX")
  echo "$data" >"$state/cluster"
  chmod 755 "$data"
  if [[ $(id -u) -eq 0 ]]; then chown postgres: "$data"; fi

  local pwfile="$data/pw"
  echo "postgres" >"$pwfile"
  if [[ $(id -u) -eq 0 ]]; then chown postgres: "$pwfile"; fi
  as_server "$bin/initdb" -D "$data/db" -U postgres --pwfile="$pwfile" --locale=C -E UTF8 \
    --auth-local=trust --auth-host=scram-sha-256 --no-sync >"$data/initdb.log" 2>&1 ||
    { cat "$data/initdb.log" >&2; exit 1; }

  # Another server may take the port between the probe and the start.
  local tries=0
  while true; do
    if ! port_in_use "$port" &&
      as_server "$bin/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 60 \
        -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$data -c fsync=off -c max_connections=200 -c shared_preload_libraries=pg_stat_statements" \
        start >/dev/null; then
      break
    fi
    port=$((port + 1))
    tries=$((tries + 1))
    if [[ $tries -ge 50 ]]; then
      cat "$data/server.log" >&2 || true
      echo "could not start PostgreSQL on any port" >&2
      exit 1
    fi
  done

  as_server "$bin/psql" -h "$data" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 -q \
    -c "CREATE ROLE sa LOGIN CREATEDB PASSWORD 'sa'" -c "GRANT pg_read_all_stats TO sa" >/dev/null
  # Every database made from the template counts its statements in the view
  # server_stats.pg_stat_statements, which the benchmarks report per record.
  as_server "$bin/psql" -h "$data" -p "$port" -U postgres -d template1 -v ON_ERROR_STOP=1 -q \
    -c "CREATE SCHEMA server_stats" \
    -c "CREATE EXTENSION pg_stat_statements SCHEMA server_stats" \
    -c "GRANT USAGE ON SCHEMA server_stats TO PUBLIC" >/dev/null
  echo "postgresql://sa:sa@127.0.0.1:$port/postgres" >"$state/url"
  echo "PostgreSQL listening on 127.0.0.1:$port"
}

[[ $# -ge 2 ]] || usage
case "$1" in
  start) [[ $# -eq 3 ]] || usage; start_cluster "$2" "$3" ;;
  stop) stop_cluster "$2" ;;
  *) usage ;;
esac
