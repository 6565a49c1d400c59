#!/usr/bin/env bash
# A private MariaDB server for the round-trip suite. Its data directory and its
# socket live in one fresh temporary directory; it listens on no network port,
# reads no configuration file of the machine and checks no passwords.
#
#   mariadb-server.sh start STATE_FILE
#       starts a server and writes its directory into STATE_FILE; a watchdog
#       stops the server and removes the directory when the calling process
#       (CTest) goes away without running "stop"
#   mariadb-server.sh stop STATE_FILE
#       stops that server and removes its directory and STATE_FILE
#
# Sourced, it only defines mdb_start DIR and mdb_stop DIR.

# Whether process $1 is running (a zombie that waits for its parent is not).
mdb_alive() {
  [ -n "$1" ] && [ -e "/proc/$1" ] || return 1
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Client options that reach the server in DIR.
mdb_client_opts() {
  printf '%s\n' --no-defaults "--socket=$1/sock" --user=root --default-character-set=utf8mb4
}

# mdb_start DIR: creates the data directory under DIR and starts the server on
# DIR/sock; returns once it answers. DIR should have a short path: a socket
# path may not be longer than 107 bytes.
mdb_start() {
  local dir=$1
  mkdir -p "$dir"
  if ! mariadb-install-db --no-defaults --user=root --datadir="$dir/data" --skip-test-db \
      --auth-root-authentication-method=normal >"$dir/install.log" 2>&1; then
    echo "mariadb-install-db failed:" >&2
    cat "$dir/install.log" >&2
    return 1
  fi
  # The server gets a session of its own and none of the caller's output
  # streams: CTest waits until every holder of a test's output has closed it.
  setsid mariadbd --no-defaults --user=root --datadir="$dir/data" --socket="$dir/sock" \
    --pid-file="$dir/mariadbd.pid" --log-error="$dir/server.log" \
    --skip-networking --skip-grant-tables \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
    --innodb-buffer-pool-size=64M --innodb-log-file-size=16M --innodb-doublewrite=0 \
    --innodb-flush-log-at-trx-commit=0 --skip-log-bin \
    </dev/null >/dev/null 2>&1 &
  # setsid does not fork here (a background job of a script leads no process
  # group), so $! is the server itself.
  local server=$! i
  for ((i = 0; i < 600; ++i)); do
    if mariadb-admin $(mdb_client_opts "$dir") ping >/dev/null 2>&1; then
      return 0
    fi
    mdb_alive "$server" || break
    sleep 0.1
  done
  echo "the MariaDB server in $dir did not start; its log:" >&2
  cat "$dir/server.log" >&2 2>/dev/null
  mdb_stop "$dir"
  return 1
}

# mdb_stop DIR: shuts the server down (killing it if it does not stop within
# a minute) and removes DIR.
mdb_stop() {
  local dir=$1 pid="" watchdog="" i
  [ -d "$dir" ] || return 0
  [ -s "$dir/watchdog.pid" ] && watchdog=$(cat "$dir/watchdog.pid")
  if [ -n "$watchdog" ] && [ "$watchdog" != "$BASHPID" ] && mdb_alive "$watchdog"; then
    kill "$watchdog" 2>/dev/null || true
  fi
  [ -s "$dir/mariadbd.pid" ] && pid=$(cat "$dir/mariadbd.pid")
  if mdb_alive "$pid"; then
    mariadb-admin $(mdb_client_opts "$dir") shutdown >/dev/null 2>&1 || kill -TERM "$pid" 2>/dev/null
    for ((i = 0; i < 600; ++i)); do
      mdb_alive "$pid" || break
      sleep 0.1
    done
    if mdb_alive "$pid"; then
      echo "the MariaDB server $pid did not stop; killing it" >&2
      kill -KILL "$pid" 2>/dev/null || true
      sleep 0.2
    fi
  fi
  # Reaps the server when it is a child of this shell.
  if [ -n "$pid" ]; then wait "$pid" 2>/dev/null || true; fi
  rm -rf "$dir"
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  here=$(cd "$(dirname "$0")" && pwd)
  case "${1:-}:${2:-}" in
    start:?*)
      state=$2
      if [ -s "$state" ] && [ -d "$(cat "$state")" ]; then
        echo "a server from an earlier run is still recorded in $state; stopping it" >&2
        mdb_stop "$(cat "$state")"
      fi
      dir=$(mktemp -d /tmp/orvalis-mdb.XXXXXX)
      mdb_start "$dir"
      printf '%s\n' "$dir" >"$state"
      # Stops the server should the caller end without "stop".
      caller=$PPID
      setsid bash -c 'source "$1"; while mdb_alive "$2" && [ -d "$3" ]; do sleep 1; done; mdb_stop "$3"' \
        orvalis-mdb-watchdog "$here/mariadb-server.sh" "$caller" "$dir" </dev/null >/dev/null 2>&1 &
      echo $! >"$dir/watchdog.pid"
      echo "MariaDB $(mariadbd --version | sed 's/.*Ver \([^ ]*\).*/\1/') started in $dir"
      ;;
    stop:?*)
      state=$2
      if [ -s "$state" ]; then
        dir=$(cat "$state")
        mdb_stop "$dir"
        echo "MariaDB in $dir stopped"
      fi
      rm -f "$state"
      ;;
    *)
      echo "usage: $0 start|stop STATE_FILE" >&2
      exit 2
      ;;
  esac
fi
