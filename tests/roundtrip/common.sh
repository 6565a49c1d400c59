# The round-trip protocol, shared by firebird.sh and mysql.sh, which source
# this file after defining the dialect's database operations:
#
#   db_fresh KEY LOG        an empty database KEY (t or m), replacing any earlier
#                           one, with the default character set DB_CHARSET if set
#   db_run KEY SCRIPT LOG   runs SCRIPT on KEY with the server's own client
#   db_extract KEY OUT      writes KEY's schema as the server's own tool extracts it
#   db_drop_all             removes the databases of this run
#   DIALECT, ORVALIS_DIALECT_ARGS (array)
#
# Usage of the runners:
#   RUNNER [--orvalis PATH] [--charset NAME] CASE_DIR
#       the full round trip of a case folder (master.sql, target.sql and an
#       optional "args" file with more orvalis arguments, one a line), in both
#       directions: build T from one script and M from the other, apply
#       `orvalis --runnable` output to T, extract T, and require orvalis to find
#       no difference between the script and the extract, and the server's
#       extracts of T and M to be equal. A case folder with a file "same" holds
#       two scripts that build the same schema: orvalis must find nothing
#   RUNNER [--orvalis PATH] [--charset NAME] --corpus NAME FILE...
#       the same from an empty target to the files joined in order, one way
#       (the extracts are compared where the runner can build the files as
#       they are: CORPUS_BUILDS_MASTER=1)
#   RUNNER [--charset NAME] --check-build CASE_DIR
#       only builds both scripts and extracts both databases, in both orders;
#       a "same" case must give equal extracts, any other case different ones
#   RUNNER --update FILE CASE_DIR
#       applies FILE (written by hand) in place of the orvalis output to the
#       database built from target.sql and requires its extract to equal the
#       extract of the database built from master.sql (checks the protocol
#       itself, without orvalis)
#
# --charset gives the databases a default character set (a case folder can
# name one in a file "charset"). Environment: ORVALIS (the tool, when
# --orvalis is not given), ORVALIS_KEEP=1 keeps the work files of a failing
# run (their folder is printed).

set -uo pipefail

rt_usage() {
  sed -n '/^# Usage of the runners:/,/^# Environment/p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

MODE=roundtrip
ORVALIS_BIN=${ORVALIS:-}
UPDATE_FILE=
DB_CHARSET=
CORPUS_NAME=
CASE_DIR=
CORPUS_FILES=()
while [ $# -gt 0 ]; do
  case "$1" in
    --orvalis) ORVALIS_BIN=${2:?--orvalis needs a path}; shift 2 ;;
    --check-build) MODE=check-build; shift ;;
    --charset) DB_CHARSET=${2:?--charset needs a name}; shift 2 ;;
    --update) MODE=update; UPDATE_FILE=${2:?--update needs a file}; shift 2 ;;
    --corpus) MODE=corpus; CORPUS_NAME=${2:?--corpus needs a name}; shift 2
      CORPUS_FILES=("$@"); set -- ;;
    -h|--help) rt_usage ;;
    -*) echo "unknown option '$1'" >&2; rt_usage ;;
    *) [ -z "$CASE_DIR" ] || { echo "one case folder at a time" >&2; exit 2; }
       CASE_DIR=$1; shift ;;
  esac
done

if [ "$MODE" = corpus ]; then
  [ ${#CORPUS_FILES[@]} -gt 0 ] || { echo "--corpus needs files" >&2; exit 2; }
  for f in "${CORPUS_FILES[@]}"; do
    [ -f "$f" ] || { echo "no such corpus file: $f" >&2; exit 2; }
  done
  case "$CORPUS_NAME" in
    */*|.*|"") echo "a corpus name is a plain word: $CORPUS_NAME" >&2; exit 2 ;;
  esac
  CASE_NAME=$CORPUS_NAME
else
  [ -n "$CASE_DIR" ] || rt_usage
  for f in master.sql target.sql; do
    [ -f "$CASE_DIR/$f" ] || { echo "case folder $CASE_DIR has no $f" >&2; exit 2; }
  done
  CASE_DIR=$(cd "$CASE_DIR" && pwd)
  CASE_NAME=$(basename "$CASE_DIR")
fi
if [ "$MODE" = roundtrip ] || [ "$MODE" = corpus ]; then
  [ -n "$ORVALIS_BIN" ] || { echo "the orvalis tool is needed: --orvalis PATH or ORVALIS" >&2; exit 2; }
  [ -x "$ORVALIS_BIN" ] || { echo "not an executable: $ORVALIS_BIN" >&2; exit 2; }
fi
if [ "$MODE" = update ] && [ ! -f "$UPDATE_FILE" ]; then
  echo "no such update script: $UPDATE_FILE" >&2
  exit 2
fi
if [ -n "$CASE_DIR" ] && [ -z "$DB_CHARSET" ] && [ -f "$CASE_DIR/charset" ]; then
  DB_CHARSET=$(tr -d ' \t\r\n' <"$CASE_DIR/charset")
fi
case "$DB_CHARSET" in
  *[!A-Za-z0-9_]*) echo "not a character set name: $DB_CHARSET" >&2; exit 2 ;;
esac
CASE_ARGS=()
if [ -n "$CASE_DIR" ] && [ -f "$CASE_DIR/args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    [ -n "$line" ] && CASE_ARGS+=("$line")
  done <"$CASE_DIR/args"
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orvalis-rt.XXXXXX") || exit 2
FAILED=0
rt_cleanup() {
  db_cleanup
  if [ "$FAILED" -ne 0 ] && [ "${ORVALIS_KEEP:-}" = 1 ]; then
    echo "work files kept in $WORK"
  else
    rm -rf "$WORK"
  fi
}
trap rt_cleanup EXIT
trap 'exit 130' INT TERM

rt_fail() {
  FAILED=1
  echo "FAIL $DIALECT/$CASE_NAME${DIRECTION:+ ($DIRECTION)}: $*"
}

# Prints a file under a heading.
rt_show() {
  echo "---- $1 ----"
  if [ -s "$2" ]; then cat "$2"; else echo "(empty)"; fi
  echo "---- end of $1 ----"
}

rt_orvalis() {
  "$ORVALIS_BIN" "${ORVALIS_DIALECT_ARGS[@]}" "${CASE_ARGS[@]}" "$@"
}

# rt_build KEY SCRIPT WHAT: a fresh database KEY built from SCRIPT.
rt_build() {
  local log="$D/build-$1.log"
  if ! db_fresh "$1" "$log"; then
    rt_fail "cannot create an empty database"
    rt_show "server output" "$log"
    return 1
  fi
  if ! db_run "$1" "$2" "$log"; then
    rt_fail "$3 does not build on the server"
    rt_show "server output" "$log"
    return 1
  fi
}

rt_extract() {
  if ! db_extract "$1" "$2" "$D/extract-$1.log"; then
    rt_fail "the server's tool cannot extract database $1"
    rt_show "tool output" "$D/extract-$1.log"
    return 1
  fi
}

# rt_direction NAME MASTER TARGET: one direction of the protocol.
rt_direction() {
  DIRECTION=$1
  local master=$2 target=$3 status have_m=1
  D="$WORK/$DIRECTION"
  mkdir -p "$D"

  rt_build t "$target" "$(basename "$target")" || return 1
  if [ "$MODE" = corpus ] && [ "${CORPUS_BUILDS_MASTER:-0}" != 1 ]; then
    have_m=0
  else
    rt_build m "$master" "$(basename "$master")" || return 1
    rt_extract m "$D/M.extract.sql" || return 1
    rt_extract t "$D/T0.extract.sql" || return 1
    if [ -n "$CASE_DIR" ] && [ -f "$CASE_DIR/same" ]; then
      if ! diff -u --label master --label target "$D/M.extract.sql" "$D/T0.extract.sql" >"$D/dump.diff"; then
        rt_fail "the case is marked 'same' but the server's extracts differ"
        rt_show "extract difference" "$D/dump.diff"
        return 1
      fi
    elif cmp -s "$D/M.extract.sql" "$D/T0.extract.sql"; then
      rt_fail "both scripts build the same schema; mark the case 'same' or make them differ"
      return 1
    fi
  fi
  [ "$MODE" = check-build ] && return 0

  if [ "$MODE" = update ]; then
    cp "$UPDATE_FILE" "$D/update.sql"
  else
    rt_orvalis --runnable "$master" "$target" -o "$D/update.sql" >"$D/orvalis.out" 2>&1
    status=$?
    if [ $status -ne 0 ] && [ $status -ne 1 ]; then
      rt_fail "orvalis cannot compare the two scripts (exit $status)"
      rt_show "orvalis output" "$D/orvalis.out"
      return 1
    fi
    if [ $status -eq 0 ] && [ $have_m = 1 ] && ! cmp -s "$D/M.extract.sql" "$D/T0.extract.sql"; then
      rt_fail "orvalis finds no difference, but the two scripts build different schemas"
      diff -u --label master --label target "$D/M.extract.sql" "$D/T0.extract.sql" >"$D/dump.diff"
      rt_show "extract difference on the server (master, target)" "$D/dump.diff"
      rt_show "update script" "$D/update.sql"
      return 1
    fi
    if [ $status -eq 1 ] && [ -n "$CASE_DIR" ] && [ -f "$CASE_DIR/same" ]; then
      rt_fail "the scripts build the same schema, but orvalis finds differences"
      rt_show "update script" "$D/update.sql"
      return 1
    fi
  fi

  if ! db_run t "$D/update.sql" "$D/apply.log"; then
    rt_fail "the update script fails on the target database"
    rt_show "update script" "$D/update.sql"
    rt_show "server output" "$D/apply.log"
    return 1
  fi
  rt_extract t "$D/T.extract.sql" || return 1

  local ok=1
  if [ "$MODE" != update ]; then
    rt_orvalis "$master" "$D/T.extract.sql" >"$D/remaining.sql" 2>"$D/compare.err"
    status=$?
    if [ $status -eq 1 ]; then
      rt_fail "after the update, orvalis still finds differences"
      ok=0
    elif [ $status -ne 0 ]; then
      rt_fail "orvalis cannot compare $(basename "$master") with the extracted target (exit $status)"
      rt_show "orvalis output" "$D/compare.err"
      ok=0
    fi
  fi
  # The server's own view: the updated target must extract as the master does.
  if [ $have_m = 1 ] &&
    ! diff -u --label master --label "updated target" "$D/M.extract.sql" "$D/T.extract.sql" >"$D/dump.diff"; then
    rt_fail "after the update, the server's extract of the target differs from the master's"
    ok=0
  fi
  [ $ok = 1 ] && return 0
  rt_show "update script" "$D/update.sql"
  [ -f "$D/remaining.sql" ] &&
    rt_show "remaining difference (what orvalis would still change)" "$D/remaining.sql"
  [ $have_m = 1 ] &&
    rt_show "extract difference on the server (master, updated target)" "$D/dump.diff"
  return 1
}

rt_main() {
  local start=${EPOCHREALTIME/,/.}
  if [ "$MODE" = corpus ]; then
    local f
    for f in "${CORPUS_FILES[@]}"; do
      cat "$f"
      echo
    done >"$WORK/$CASE_NAME.sql"
    : >"$WORK/empty.sql"
    rt_direction create "$WORK/$CASE_NAME.sql" "$WORK/empty.sql"
  elif [ "$MODE" = update ]; then
    rt_direction forward "$CASE_DIR/master.sql" "$CASE_DIR/target.sql"
  else
    rt_direction forward "$CASE_DIR/master.sql" "$CASE_DIR/target.sql" &&
      rt_direction reverse "$CASE_DIR/target.sql" "$CASE_DIR/master.sql"
  fi
  DIRECTION=
  if [ "$FAILED" -eq 0 ]; then
    echo "ok $DIALECT/$CASE_NAME ($MODE, $(awk -v a="$start" -v b="${EPOCHREALTIME/,/.}" 'BEGIN { printf "%.1f", b - a }') s)"
    return 0
  fi
  return 1
}
