# Host-side preparation for tests that need a particular machine around the
# program: sourced by wine-run.sh with WINEPREFIX set.
#
# WINE_TEST_HOOKS holds hooks separated by ";", applied in order, each
# "drive X: KIND [ARG...]":
#   drive X: dir PATH          X: is the folder PATH (created when missing;
#                              the rest of the hook is the path, spaces and all)
#   drive X: tmpfs SIZE [ro]   X: is a fresh tmpfs of SIZE (digits with k, m
#                              or g: 1000m is 1000 MiB), read-only with "ro"
#   drive X: none              no drive X:
# What a hook changes is undone after the run ($hooks_undo); a run that was
# killed before its undo is repaired by the next run in the same prefix
# (recover_hooks). Where the machine forbids a hook (no permission to mount),
# the run is skipped: a reason is printed and the exit code is 77, which CTest
# reports as a skip.

hook_skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}

hook_error() {
  echo "host-hooks: $*" >&2
  exit 2
}

# Marks a prefix whose drives a run has changed, until the run has undone it.
hooks_journal() { echo "$WINEPREFIX/.hooks-applied"; }

apply_hook() { # words of one hook
  local IFS=' '
  local what=${1:-} letter=${2:-} kind=${3:-}
  letter=${letter,,}
  [ "$what" = drive ] || hook_error "unknown hook '$*'"
  [[ $letter =~ ^[a-z]:$ ]] || hook_error "bad drive '${2:-}' in '$*'"
  # Checked before anything changes.
  local folder="" size="" mode=""
  case $kind in
    dir)
      folder="${*:4}"
      [ -n "$folder" ] || hook_error "no folder in '$*'"
      ;;
    tmpfs)
      size=${4:-} mode=${5:-rw}
      [[ $size =~ ^[0-9]+[kmg]$ ]] || hook_error "bad tmpfs size '$size' for drive $letter (use for example 1000m)"
      [[ $mode =~ ^(rw|ro)$ ]] || hook_error "bad tmpfs mode '$mode' for drive $letter (ro or nothing)"
      ;;
    none) ;;
    *) hook_error "unknown drive kind '$kind' in '$*'" ;;
  esac

  local link=$WINEPREFIX/dosdevices/$letter
  local saved=""
  if [ -L "$link" ]; then saved=$(readlink "$link"); fi
  hooks_undo="rm -f '$link'; ${saved:+ln -s '$saved' '$link';} $hooks_undo"
  rm -f "$link"
  case $kind in
    dir)
      mkdir -p "$folder"
      ln -s "$(cd "$folder" && pwd)" "$link"
      ;;
    tmpfs)
      local mnt=$WINEPREFIX/mnt-${letter%:}
      mkdir -p "$mnt"
      if mountpoint -q "$mnt"; then umount "$mnt"; fi
      local err
      err=$(mount -t tmpfs -o "size=$size,$mode" tmpfs "$mnt" 2>&1) ||
        hook_skip "cannot mount a tmpfs for drive $letter here (needs root and mount permission): $err"
      # Wine's processes may hold files on it: end them before unmounting.
      hooks_undo="wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; umount '$mnt' 2>/dev/null; $hooks_undo"
      ln -s "$mnt" "$link"
      ;;
  esac
}

apply_hooks() { # "hook; hook; ..."
  touch "$(hooks_journal)"
  hooks_undo="rm -f '$(hooks_journal)'"
  local IFS=';' hook
  for hook in $1; do
    IFS=$' \t' read -r -a words <<<"$hook"
    [ ${#words[@]} -gt 0 ] && apply_hook "${words[@]}"
  done
  return 0
}

# Puts back what a killed run left: its mounts and the template's drive letters.
recover_hooks() { # TEMPLATE_PREFIX
  [ -f "$(hooks_journal)" ] || return 0
  echo "host-hooks: repairing the drives of $WINEPREFIX after an interrupted run" >&2
  wineserver -k 2>/dev/null || true
  local mnt link
  for mnt in "$WINEPREFIX"/mnt-*; do
    if mountpoint -q "$mnt" 2>/dev/null; then umount "$mnt"; fi
  done
  for link in "$WINEPREFIX"/dosdevices/?:; do
    [ -L "$link" ] && rm -f "$link"
  done
  for link in "$1"/dosdevices/?:; do
    [ -L "$link" ] && ln -s "$(readlink "$link")" "$WINEPREFIX/dosdevices/${link##*/}"
  done
  rm -f "$(hooks_journal)"
}
