#!/usr/bin/env bash
# Starts or stops a private Xvfb display.
#   eval "$(xvfb.sh start)"   sets DISPLAY and xvfb_pid
#   xvfb.sh stop PID
set -euo pipefail
case ${1:-} in
  start)
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # -displayfd lets the server take the first free display number.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$fifo" >/dev/null 2>&1 &
    pid=$!
    read -r -t 20 num <"$fifo" || { rm -f "$fifo"; kill "$pid" 2>/dev/null; echo "xvfb: the server did not start" >&2; exit 1; }
    rm -f "$fifo"
    echo "export DISPLAY=:$num; xvfb_pid=$pid"
    ;;
  stop)
    kill "${2:?pid}" 2>/dev/null || true
    ;;
  *) echo "usage: xvfb.sh start | stop PID" >&2; exit 2 ;;
esac
