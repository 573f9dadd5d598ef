#!/usr/bin/env bash
# A throw-away PostgreSQL server on a free loopback port for the tests.
#   pgserver.sh start STATE_DIR   starts it and writes STATE_DIR/port
#   pgserver.sh stop STATE_DIR    stops it and removes its files
# PostgreSQL refuses to run as root, so as root the server runs as the
# postgres user that the Debian package creates, in a folder of its own.
set -euo pipefail

action="${1:?start or stop}"
state="${2:?state folder}"
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bin/pg_ctl" ] || { echo "pgserver: no PostgreSQL server is installed (./qv deps installs it)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$state/datadir" ] || return 0
  local data
  data="$(cat "$state/datadir")"
  as_owner "$bin/pg_ctl" -D "$data/db" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$data"
  rm -f "$state/datadir" "$state/port"
}

start() {
  mkdir -p "$state"
  stop
  local data
  data="$(mktemp -d /tmp/qv-pg.XXXXXX)"
  echo "$data" > "$state/datadir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$data"
  as_owner "$bin/initdb" -D "$data/db" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$data/initdb.log" 2>&1 \
    || { cat "$data/initdb.log" >&2; exit 1; }
  # The first port that starts; another run or a real server may hold some.
  local port
  for port in $(seq 54330 54400); do
    if as_owner "$bin/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 30 \
        -o "-p $port -k $data -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1; then
      echo "$port" > "$state/port"
      return 0
    fi
  done
  cat "$data/server.log" >&2
  exit 1
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: pgserver.sh start|stop STATE_DIR" >&2; exit 2 ;;
esac
