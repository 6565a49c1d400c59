#!/usr/bin/env bash
# Round trip of MariaDB scripts through orvalis and a real MariaDB 10.11 server.
# Options and modes: see common.sh.
#
# The server: when ORVALIS_MARIADB_STATE names the state file of a server that
# mariadb-server.sh started (the CTest fixture does that), the run uses that
# server; otherwise it starts a private one of its own and stops it at the end.
# Each run works in two databases of its own, named after the case.
DIALECT=mysql
ORVALIS_DIALECT_ARGS=(--dialect mysql --set MySQL.SQLServerVersion=st_MariaDB_10x)

for tool in mariadb mariadb-dump mariadbd mariadb-install-db; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done
source "$(dirname "${BASH_SOURCE[0]}")/mariadb-server.sh" || exit 2

MDB_DIR=
MDB_OWN=0
MDB_DATABASES=()

my_db() {
  local safe
  safe=$(printf '%s' "$CASE_NAME" | tr -c 'A-Za-z0-9_' '_')
  if [ ${#safe} -gt 50 ]; then
    safe="${safe:0:40}_$(printf '%s' "$CASE_NAME" | cksum | cut -d' ' -f1)"
  fi
  printf 'rt_%s_%s' "$safe" "$1"
}

my_client() { mariadb $(mdb_client_opts "$MDB_DIR") "$@"; }

db_fresh() {
  local db
  db=$(my_db "$1")
  MDB_DATABASES+=("$db")
  my_client -e "DROP DATABASE IF EXISTS \`$db\`;
    CREATE DATABASE \`$db\`${DB_CHARSET:+ CHARACTER SET $DB_CHARSET}" >>"$2" 2>&1
}

db_run() {
  my_client "$(my_db "$1")" <"$2" >>"$3" 2>&1
}

# The dump without what differs between two databases of the same schema:
# the AUTO_INCREMENT counters of the tables and the DEFINER clauses (the user
# that ran the script).
db_extract() {
  mariadb-dump $(mdb_client_opts "$MDB_DIR") --no-data --routines --triggers --skip-comments \
    "$(my_db "$1")" 2>"$3" |
    sed -E -e 's/ AUTO_INCREMENT=[0-9]+//' \
      -e 's#/\*!50017 DEFINER=`[^`]*`(@`[^`]*`)?\*/ ?##g' \
      -e 's/ DEFINER=`[^`]*`(@`[^`]*`)?//g' >"$2"
  [ "${PIPESTATUS[0]}" -eq 0 ] && [ -s "$2" ]
}

db_cleanup() {
  [ -n "$MDB_DIR" ] || return 0
  if [ "$MDB_OWN" = 1 ]; then
    mdb_stop "$MDB_DIR"
    return 0
  fi
  local db
  for db in "${MDB_DATABASES[@]}"; do
    my_client -e "DROP DATABASE IF EXISTS \`$db\`" >/dev/null 2>&1
  done
}

source "$(dirname "${BASH_SOURCE[0]}")/common.sh" || exit 2

if [ -n "${ORVALIS_MARIADB_STATE:-}" ]; then
  MDB_DIR=$(cat "$ORVALIS_MARIADB_STATE" 2>/dev/null)
  if [ -z "$MDB_DIR" ] || [ ! -S "$MDB_DIR/sock" ]; then
    echo "no MariaDB server is running for $ORVALIS_MARIADB_STATE (its fixture did not start)" >&2
    MDB_DIR=
    exit 2
  fi
else
  # A short path: the socket path may not be longer than 107 bytes.
  MDB_DIR=$(mktemp -d /tmp/orvalis-mdb.XXXXXX) || exit 2
  MDB_OWN=1
  mdb_start "$MDB_DIR" || exit 2
fi

rt_main
