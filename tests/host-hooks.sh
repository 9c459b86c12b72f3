# Host-side preparation for tests that need a particular machine around the
# program: sourced by wine-run.sh with WINEPREFIX set.
#
# WINE_TEST_HOOKS holds hooks separated by ";", each "drive X: KIND [ARG...]":
#   drive X: dir PATH          X: is the folder PATH (created when missing)
#   drive X: tmpfs SIZE [ro]   X: is a fresh tmpfs of SIZE (for example 1000m),
#                              mounted read-only with "ro"
#   drive X: none              no drive X:
# What a hook changes is undone after the run ($hooks_undo). Where the machine
# forbids a hook (no permission to mount), the run is skipped: a reason is
# printed and the exit code is 77, which CTest reports as a skip.

hook_skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}

apply_hook() { # words of one hook
  local what=$1 letter=${2,,} kind=$3
  [ "$what" = drive ] || { echo "host-hooks: unknown hook '$*'" >&2; exit 2; }
  [[ $letter =~ ^[a-z]:$ ]] || { echo "host-hooks: bad drive '$2'" >&2; exit 2; }
  local link=$WINEPREFIX/dosdevices/$letter
  local saved=""
  if [ -L "$link" ]; then saved=$(readlink "$link"); fi
  hooks_undo="rm -f '$link'; ${saved:+ln -s '$saved' '$link';} $hooks_undo"
  rm -f "$link"
  case $kind in
    dir)
      mkdir -p "$4"
      ln -s "$4" "$link"
      ;;
    tmpfs)
      local mnt=$WINEPREFIX/mnt-${letter%:}
      mkdir -p "$mnt"
      mountpoint -q "$mnt" && umount "$mnt"
      local opts="size=$4"
      mount -t tmpfs -o "$opts" tmpfs "$mnt" 2>/dev/null ||
        hook_skip "cannot mount a tmpfs for drive $letter here (needs root and mount permission)"
      hooks_undo="wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; umount '$mnt' 2>/dev/null; $hooks_undo"
      if [ "${5:-}" = ro ]; then
        mount -o remount,ro "$mnt" 2>/dev/null || hook_skip "cannot remount drive $letter read-only here"
      fi
      ln -s "$mnt" "$link"
      ;;
    none) ;;
    *) echo "host-hooks: unknown drive kind '$kind'" >&2; exit 2 ;;
  esac
}

apply_hooks() { # "hook; hook; ..."
  local IFS=';' hook
  for hook in $1; do
    IFS=' ' read -r -a words <<<"$hook"
    [ ${#words[@]} -gt 0 ] && apply_hook "${words[@]}"
  done
  return 0
}
