#!/usr/bin/env bash
# Round trip of Firebird 3 scripts through orvalis and a real, embedded
# Firebird: isql-fb opens the database files itself, so no server process runs.
# Options and modes: see common.sh.
#
# Everything lives in the run's work folder: the databases, and Firebird's lock
# and sort files (FIREBIRD_LOCK, FIREBIRD_TMP), which otherwise go to
# /tmp/firebird and would be shared with any other Firebird on the machine.
DIALECT=firebird
ORVALIS_DIALECT_ARGS=(--dialect firebird --set IB.SQLServerVersion=st_Firebird_30)
# The corpus scripts run in isql as they are, so their extracts are compared too.
CORPUS_BUILDS_MASTER=1

command -v isql-fb >/dev/null || { echo "isql-fb is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }

fb_path() { printf '%s/db/%s.fdb' "$WORK" "$1"; }

# Opening a database costs isql most of its time, so a fresh database is
# created by the first script run on it, in the same session.
db_fresh() {
  local path
  path=$(fb_path "$1")
  mkdir -p "$WORK/db"
  rm -f "$path"
  printf "CREATE DATABASE '%s' PAGE_SIZE 8192%s;\n" "$path" \
    "${DB_CHARSET:+ DEFAULT CHARACTER SET $DB_CHARSET}" >"$WORK/db/create-$1.sql"
}

db_run() {
  local create="$WORK/db/create-$1.sql"
  if [ -f "$create" ]; then
    cat "$create" "$2" >"$WORK/db/first-$1.sql"
    rm -f "$create"
    isql-fb -bail -q -i "$WORK/db/first-$1.sql" >>"$3" 2>&1
  else
    isql-fb -bail -q -i "$2" "$(fb_path "$1")" >>"$3" 2>&1
  fi
}

# The extract without the commented-out CREATE DATABASE line, which names the
# database file of this run. isql -x of Firebird 3 writes inactive indexes as
# if they were active; their state is appended as ALTER INDEX statements.
db_extract() {
  local path
  path=$(fb_path "$1")
  isql-fb -x "$path" 2>"$3" | grep -v "^/\* CREATE DATABASE '" >"$2"
  [ "${PIPESTATUS[0]}" -eq 0 ] && [ -s "$2" ] || return 1
  # Only an index of its own can be inactive.
  grep -qiE '^CREATE (UNIQUE |ASC(ENDING)? |DESC(ENDING)? )*INDEX ' "$2" || return 0
  printf '%s\n' "SET HEADING OFF;" \
    "SELECT '=' || TRIM(RDB\$INDEX_NAME) FROM RDB\$INDICES WHERE RDB\$INDEX_INACTIVE = 1" \
    "  AND COALESCE(RDB\$SYSTEM_FLAG, 0) = 0 ORDER BY RDB\$INDEX_NAME;" >"$WORK/db/inactive.sql"
  local names
  names=$(isql-fb -q -i "$WORK/db/inactive.sql" "$path" 2>>"$3") || return 1
  names=$(printf '%s\n' "$names" | sed -n 's/^=\(.*[^ ]\) *$/\1/p')
  [ -n "$names" ] || return 0
  {
    printf '\n/* Inactive indexes */\n'
    printf '%s\n' "$names" | awk '{
      if ($0 ~ /^[A-Z][A-Z0-9_$]*$/) name = $0; else { gsub(/"/, "\"\""); name = "\"" $0 "\"" }
      print "ALTER INDEX " name " INACTIVE;"
    }'
  } >>"$2"
}

db_cleanup() { :; }

source "$(dirname "${BASH_SOURCE[0]}")/common.sh" || exit 2

export ISC_USER=SYSDBA ISC_PASSWORD=masterkey
export FIREBIRD_LOCK="$WORK/fb-lock" FIREBIRD_TMP="$WORK/fb-tmp"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"

rt_main
