#!/usr/bin/env bash
# Shows that the CI entry point passes on a machine with nothing installed:
# makes a new minimal Debian 12 root with debootstrap, lays a fresh clone of
# this repository's HEAD and a read-only copy of the shared/ folder beside it,
# as CI has them, and runs `bash .ci/run` inside as root. Needs root and about
# 5 GB of free disk; the first run downloads a few hundred MB of packages.
#
# Usage: scripts/fresh-check.sh [--reuse]
#   --reuse          keep the root of an earlier run, with the packages it
#                    installed, instead of starting from nothing; quicker, but
#                    no longer a proof that the install steps are complete
#   FRESH_ROOT=DIR   where the root lives (default /var/tmp/corvalin-fresh-root)
#   FRESH_MIRROR=URL a Debian mirror other than the one this machine's apt uses
set -euo pipefail

# Read as a whole before anything runs: the file lives in a working tree that
# may be edited or checked out while a check is under way.
{
usage() { sed -n '2,13s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; }
say() { echo "fresh-check: $*"; }
die() { echo "fresh-check: $*" >&2; exit 1; }

REUSE=false
for arg in "$@"; do
  case "$arg" in
    --reuse) REUSE=true ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done

[ "$(id -u)" -eq 0 ] || die "needs root (it runs debootstrap, mount and chroot)"

REPO=$(git -C "$(dirname "${BASH_SOURCE[0]}")" rev-parse --show-toplevel)
SHARED="$(dirname "$REPO")/shared"
R=$(realpath -m "${FRESH_ROOT:-/var/tmp/corvalin-fresh-root}")
# The root is wiped at the start of each clean run, so it must hold nothing
# that matters: not the repository, nor anything that contains it.
case "$R/" in "$REPO/"*) die "FRESH_ROOT must lie outside the repository" ;; esac
case "$REPO/" in "$R/"*) die "FRESH_ROOT must not contain the repository" ;; esac
[ -d "$SHARED" ] || die "CI lays shared/ beside the repository; there is none at $SHARED"

# Two checks on one root would wipe the root and stop the processes of the
# other; the lock lies beside the root because the root itself gets wiped.
mkdir -p "$(dirname "$R")"
exec 9>"$R.lock"
flock -n 9 || die "another fresh check is using $R; wait for it to end or set FRESH_ROOT"

OURS="$R/.corvalin-fresh-root"
COMPLETE="$R/.corvalin-fresh-root-complete"
STAGE="setup"
CI_SECONDS=""
ROOT_KIND="fresh"
TOOLS=""

# shellcheck disable=SC2317  # called from the exit trap
fmt() { printf '%dm %02ds' $(($1 / 60)) $(($1 % 60)); }

mounts_under() {
  findmnt -rn -o TARGET | awk -v p="$R" '$0 == p || index($0, p "/") == 1' | sort -r
}

# Deepest first, and again while anything is left: a test may have mounted
# something of its own, and mounts can be stacked on one folder.
unmount_all() {
  local m tries=0
  while [ -n "$(mounts_under)" ] && ((tries++ < 5)); do
    while read -r m; do
      umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    done < <(mounts_under)
  done
  [ -z "$(mounts_under)" ]
}

# Anything left running inside the root by an earlier run that was killed
# would keep its mounts busy. Only processes rooted there are touched, and
# only while this run holds the lock, so none of them belongs to a live run.
stop_leftovers() {
  local p pids=()
  for p in /proc/[0-9]*; do
    if [ "$(readlink "$p/root" 2>/dev/null)" = "$R" ]; then pids+=("${p#/proc/}"); fi
  done
  ((${#pids[@]} == 0)) && return 0
  say "stopping processes left in the root: ${pids[*]}"
  kill -TERM "${pids[@]}" 2>/dev/null || true
  sleep 2
  kill -KILL "${pids[@]}" 2>/dev/null || true
}

# shellcheck disable=SC2317  # the exit trap
finish() {
  local rc=$?
  set +e
  trap - EXIT INT TERM
  stop_leftovers
  if ! unmount_all; then
    say "could not unmount:"
    mounts_under
    [ "$rc" -ne 0 ] || rc=1
  fi
  if [ -n "$TOOLS" ]; then rm -rf "$TOOLS"; fi
  local took
  took="$(fmt "$SECONDS")${CI_SECONDS:+, of which .ci/run $(fmt "$CI_SECONDS")}"
  if [ "$rc" -eq 0 ]; then
    say "PASSED: bash .ci/run succeeded in a $ROOT_KIND Debian 12 root (took $took)"
  else
    say "FAILED during $STAGE with exit code $rc (took $took)"
  fi
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Prints "URI SUITE" for each Debian archive this machine's apt reads, from
# both the one-line and the deb822 source formats.
apt_sources() {
  local f
  if [ -f /etc/apt/sources.list ]; then
    awk '$1 == "deb" {
           i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
           print $i, $(i + 1)
         }' /etc/apt/sources.list
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         {
           types = uris = suites = ""; enabled = 1
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^#/) continue
             split($i, kv, ":"); key = tolower(kv[1]); val = substr($i, length(kv[1]) + 2)
             if (key == "types") types = val
             else if (key == "uris") uris = val
             else if (key == "suites") suites = val
             else if (key == "enabled" && val ~ /no/) enabled = 0
           }
           if (!enabled || types !~ /(^|[ \t])deb([ \t]|$)/) next
           nu = split(uris, u, /[ \t]+/); ns = split(suites, s, /[ \t]+/)
           for (a = 1; a <= nu; a++) for (b = 1; b <= ns; b++)
             if (u[a] != "" && s[b] != "") print u[a], s[b]
         }' "$f"
  done
}

# The main archive is the one that serves a release by its plain name; other
# vendors' repositories on this machine use names of their own.
SOURCES=$(apt_sources | grep -E '^(https?|ftp|file)://' || true)
MIRROR=${FRESH_MIRROR:-$(awk '$2 ~ /^(bookworm|trixie|forky|bullseye|buster|sid|stable|testing|unstable|oldstable|oldoldstable)$/ { print $1; exit }' <<<"$SOURCES")}
SECURITY=$(awk '$2 ~ /-security$/ { print $1; exit }' <<<"$SOURCES")
[ -n "$MIRROR" ] || die "found no Debian mirror in /etc/apt/sources.list or /etc/apt/sources.list.d/*.sources; set FRESH_MIRROR"

avail_kb=$(df -Pk "$(dirname "$R")" | awk 'NR == 2 { print $4 }')
((avail_kb > 5 * 1024 * 1024)) || say "warning: less than 5 GB free beside $R; the build may run out of disk"

HEAD=$(git -C "$REPO" rev-parse HEAD)
BRANCH=$(git -C "$REPO" symbolic-ref -q --short HEAD || true)
say "repository $REPO at ${HEAD:0:12}${BRANCH:+ ($BRANCH)}"
say "root $R, mirror $MIRROR"

# A killed earlier run may have left its mounts behind; nothing is removed
# while anything is still mounted inside, or /dev could go with it.
stop_leftovers
unmount_all || die "cannot unmount what is left under $R"

if $REUSE && [ -e "$COMPLETE" ]; then
  say "reusing the existing root (packages from earlier runs stay installed)"
  ROOT_KIND="reused"
else
  if $REUSE; then say "no complete root to reuse; making a new one"; fi
  if [ -e "$R" ] && [ -n "$(ls -A "$R")" ] && [ ! -e "$OURS" ]; then
    die "$R exists and was not made by this script; remove it or set FRESH_ROOT"
  fi
  STAGE="debootstrap"
  rm -rf --one-file-system "$R"
  mkdir -p "$R"
  touch "$OURS"

  # debootstrap is only a shell script and its data: when the host lacks it,
  # it is unpacked into a temporary folder rather than installed, so the
  # host's own packages stay as they are.
  if command -v debootstrap >/dev/null; then
    DEBOOTSTRAP=debootstrap
  else
    TOOLS=$(mktemp -d)
    say "unpacking debootstrap into $TOOLS"
    if ! (cd "$TOOLS" && apt-get -qq -o APT::Sandbox::User=root download debootstrap 2>/dev/null); then
      apt-get update -qq
      (cd "$TOOLS" && apt-get -qq -o APT::Sandbox::User=root download debootstrap)
    fi
    dpkg-deb -x "$TOOLS"/debootstrap_*.deb "$TOOLS/unpacked"
    export DEBOOTSTRAP_DIR="$TOOLS/unpacked/usr/share/debootstrap"
    DEBOOTSTRAP="$TOOLS/unpacked/usr/sbin/debootstrap"
  fi
  include=()
  case "$MIRROR" in https:*) include=(--include=ca-certificates) ;; esac
  "$DEBOOTSTRAP" --variant=minbase "${include[@]}" bookworm "$R" "$MIRROR" 9>&-

  # The same archives as this machine: the release, its updates and, where
  # this machine has it, the security archive.
  {
    echo "deb $MIRROR bookworm main"
    echo "deb $MIRROR bookworm-updates main"
    if [ -n "$SECURITY" ]; then echo "deb $SECURITY bookworm-security main"; fi
  } >"$R/etc/apt/sources.list"
  # A package that starts a service would leave it running inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$R/usr/sbin/policy-rc.d"
  chmod 755 "$R/usr/sbin/policy-rc.d"
  touch "$COMPLETE"
fi

STAGE="laying out the sources"
rm -rf --one-file-system "$R/work"
mkdir -p "$R/work"
git clone -q --no-hardlinks ${BRANCH:+--branch "$BRANCH"} "$REPO" "$R/work/main"
# The branch may have moved on since HEAD was read.
git -C "$R/work/main" reset -q --hard "$HEAD"
cp -a "$SHARED" "$R/work/shared"
chmod -R a-w "$R/work/shared"
rm -f "$R/etc/resolv.conf"
cp -L /etc/resolv.conf "$R/etc/resolv.conf"

STAGE="mounting"
mount -t proc proc "$R/proc"
mount --bind /dev "$R/dev"
# Nothing mounted below the root's /dev may show up in the host's /dev.
mount --make-rslave "$R/dev"
mount --bind /dev/pts "$R/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$R/dev/shm"
mount -t sysfs sysfs "$R/sys" 2>/dev/null || mount --bind /sys "$R/sys"
mount -t tmpfs -o mode=1777 tmpfs "$R/tmp"

STAGE=".ci/run"
say "running bash .ci/run inside the root"
ci_start=$SECONDS
rc=0
env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  chroot "$R" /bin/bash -c 'cd /work/main && CI=true bash .ci/run' </dev/null 9>&- || rc=$?
CI_SECONDS=$((SECONDS - ci_start))
exit "$rc"
}
