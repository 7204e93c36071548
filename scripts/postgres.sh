#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: initdb into a folder of its own,
# run by a non-root user (PostgreSQL refuses root) on a free port of
# 127.0.0.1, never touching a cluster the machine may already run.
#   eval "$(bash scripts/postgres.sh start)"   prints the export lines
#   bash scripts/postgres.sh stop
# The superuser quillon_admin logs in without a password from 127.0.0.1; the
# role quillon_pw (password "quillon-pw") must give one, so that the tests
# can check what a refused login looks like.
set -euo pipefail
DIR=${QUILLON_PG_DIR:-/tmp/quillon-pg-$(id -u)}
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -n "$PGBIN" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u quillonpg -- "$@"; else "$@"; fi
}

case "${1:-}" in
start)
  if [ "$(id -u)" -eq 0 ] && ! id quillonpg >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin quillonpg
  fi
  if [ -f "$DIR/port" ] && as_owner "$PGBIN/pg_ctl" -D "$DIR/cluster" status >/dev/null 2>&1; then
    PORT=$(cat "$DIR/port")
  else
    rm -rf "$DIR"
    mkdir -p "$DIR"
    [ "$(id -u)" -eq 0 ] && chown quillonpg "$DIR"
    as_owner "$PGBIN/initdb" -D "$DIR/cluster" -U quillon_admin -A trust -E UTF8 \
      --locale=C.UTF-8 >"$DIR/initdb.log" 2>&1 || { cat "$DIR/initdb.log" >&2; exit 1; }
    cat >"$DIR/cluster/pg_hba.conf" <<HBA
local all all trust
host all quillon_pw 127.0.0.1/32 scram-sha-256
host all all 127.0.0.1/32 trust
HBA
    PORT=""
    for p in $(seq 54321 54420); do
      if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then PORT=$p; break; fi
    done
    [ -n "$PORT" ] || { echo "no free port for PostgreSQL" >&2; exit 1; }
    as_owner "$PGBIN/pg_ctl" -D "$DIR/cluster" -l "$DIR/server.log" -w \
      -o "-h 127.0.0.1 -p $PORT -k $DIR -c fsync=off -c max_connections=200" start >/dev/null ||
      { cat "$DIR/server.log" >&2; exit 1; }
    echo "$PORT" | as_owner tee "$DIR/port" >/dev/null
    as_owner "$PGBIN/psql" -q -h 127.0.0.1 -p "$PORT" -U quillon_admin -d postgres \
      -c "CREATE ROLE quillon_pw LOGIN PASSWORD 'quillon-pw'" >/dev/null
  fi
  echo "export QUILLON_TEST_PG=postgresql://quillon_admin@127.0.0.1:$PORT/postgres"
  echo "export QUILLON_TEST_PG_PORT=$PORT"
  ;;
stop)
  [ -d "$DIR/cluster" ] && as_owner "$PGBIN/pg_ctl" -D "$DIR/cluster" -m fast -w stop >/dev/null 2>&1 || true
  ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
