#!/usr/bin/env bash
# Host-side test of host-hooks.sh on a stand-in prefix: hooks change the
# drive letters, the undo puts back exactly what was there, a run killed
# before its undo is repaired by the next, and bad hooks are refused.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
cleanup() {
  for mnt in "$work"/prefix/mnt-*; do
    if mountpoint -q "$mnt" 2>/dev/null; then umount "$mnt"; fi
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

template=$work/template
mkdir -p "$template/dosdevices" "$template/drive_c"
ln -s ../drive_c "$template/dosdevices/c:"
ln -s / "$template/dosdevices/z:"
export WINEPREFIX=$work/prefix
cp -a "$template" "$WINEPREFIX"

# shellcheck source=host-hooks.sh
source "$here/host-hooks.sh"

drives() { # "c:->../drive_c z:->/" and so on
  local link out=""
  for link in "$WINEPREFIX"/dosdevices/?:; do
    [ -L "$link" ] && out+="${link##*/}->$(readlink "$link") "
  done
  echo "$out"
}
before=$(drives)

# Folders (one with a space in its name) and taking a drive away.
(
  hooks_undo=""
  apply_hooks "drive d: dir $work/folder;drive E: dir $work/two words; drive c: none"
  [ "$(readlink "$WINEPREFIX/dosdevices/d:")" = "$work/folder" ] || fail "d: is not the folder: $(drives)"
  [ "$(readlink "$WINEPREFIX/dosdevices/e:")" = "$work/two words" ] || fail "e: is not the folder: $(drives)"
  [ -d "$work/two words" ] || fail "the folder of e: was not made"
  [ ! -e "$WINEPREFIX/dosdevices/c:" ] || fail "c: is still there"
  [ -f "$(hooks_journal)" ] || fail "no journal while the hooks are applied"
  eval "$hooks_undo"
)
[ "$(drives)" = "$before" ] || fail "undo left $(drives) instead of $before"
[ ! -f "$(hooks_journal)" ] || fail "the journal outlived the undo"

# A read-only tmpfs, where the machine lets us mount.
set +e
(
  hooks_undo=""
  apply_hooks "drive x: tmpfs 5m ro"
  mountpoint -q "$WINEPREFIX/mnt-x" || fail "x: is not mounted"
  [ "$(df -B1 --output=size "$WINEPREFIX/mnt-x" | tail -n 1 | tr -d ' ')" = $((5 * 1024 * 1024)) ] ||
    fail "x: is not 5 MiB: $(df -B1 "$WINEPREFIX/mnt-x")"
  touch "$WINEPREFIX/dosdevices/x:/file" 2>/dev/null && fail "x: took a file"
  eval "$hooks_undo"
)
rc=$?
set -e
if [ $rc -eq 77 ]; then
  echo "note: tmpfs hooks not checked, mounting is not allowed here"
else
  [ $rc -eq 0 ] || exit $rc
  ! mountpoint -q "$WINEPREFIX/mnt-x" || fail "x: is still mounted after the undo"
  [ "$(drives)" = "$before" ] || fail "undo of tmpfs left $(drives)"
fi

# A run killed before its undo: the next run repairs the prefix.
set +e
(
  hooks_undo=""
  apply_hooks "drive c: dir $work/other; drive d: tmpfs 1m" 2>/dev/null
  exit 0  # and no undo
)
set -e
[ -f "$(hooks_journal)" ] || fail "no journal after the interrupted run"
recover_hooks "$template" 2>/dev/null
[ "$(drives)" = "$before" ] || fail "recovery left $(drives) instead of $before"
! mountpoint -q "$WINEPREFIX/mnt-d" 2>/dev/null || fail "recovery left d: mounted"
[ ! -f "$(hooks_journal)" ] || fail "the journal outlived the recovery"

# Bad hooks are refused with exit code 2 before they change anything.
for bad in "drive" "drive dd: none" "drive d: tmpfs 10" "drive d: tmpfs 10m rx" "drive d: dir" "drive d: floppy" "mount d:"; do
  set +e
  (apply_hooks "$bad") 2>/dev/null
  rc=$?
  set -e
  [ $rc -eq 2 ] || fail "'$bad' gave exit code $rc, not 2"
  [ "$(drives)" = "$before" ] || fail "'$bad' changed the drives: $(drives)"
  rm -f "$(hooks_journal)"
done

echo "host-hooks: all checks passed"
