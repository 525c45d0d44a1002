#!/usr/bin/env bash
# Debian's package tools as every set-up script uses them: sourced by
# scripts/deps.sh, scripts/win-deps.sh and scripts/fetch-sources.sh.
#
# apt_update: apt-get update, tried a second time when it fails (a mirror in
# the middle of a sync serves an index of the wrong size for a minute); a
# second failure is a warning only, since the packages wanted may all be in
# the indexes that did arrive: apt_install finds out.
# apt_install PACKAGE...: installs them without recommends (from the
# release's own versions when the newest do not fit together, never removing
# a package), or ends the script with one line that names the first package
# that cannot be installed and apt's reason.
# Both wait up to ten minutes for another installer's lock.

apt_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    printf 'apt: needs root for: %s\n' "$*" >&2
    exit 1
  fi
}

apt_wait=(-o DPkg::Lock::Timeout=600)

apt_update() {
  apt_root apt-get "${apt_wait[@]}" update -qq && return 0
  printf 'apt: apt-get update failed; trying once more in 20 s\n' >&2
  sleep 20
  apt_root apt-get "${apt_wait[@]}" update -qq && return 0
  printf 'apt: WARNING: apt-get update failed twice; going on with the package lists there are\n' >&2
}

apt_install() {
  local log p reason
  log=$(mktemp)
  if apt_root env DEBIAN_FRONTEND=noninteractive apt-get "${apt_wait[@]}" install -y -qq \
    --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  # With an index missing (a security list of one architecture), another
  # architecture's copy of a library may be newer than the one this list
  # offers; the release's own versions fit together. Nothing is removed.
  local release
  release=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
  if [ -n "$release" ] && apt_root env DEBIAN_FRONTEND=noninteractive apt-get "${apt_wait[@]}" \
    install -y -qq --no-install-recommends --no-remove -t "$release" "$@" >"$log" 2>&1; then
    printf 'apt: installed %s from %s itself\n' "$*" "$release" >&2
    rm -f "$log"
    return 0
  fi
  # Each package alone, to name the one that cannot be had.
  local out first
  for p in "$@"; do
    out=$(apt_root apt-get "${apt_wait[@]}" install -s --no-install-recommends "$p" 2>&1 || true)
    reason=$(grep -m1 '^E:' <<<"$out" || true)
    if [ -n "$reason" ]; then
      rm -f "$log"
      # The first unmet dependency, when apt names one, says more than its verdict.
      first=$(grep -m1 -E '^ \S+ : (Pre)?Depends:' <<<"$out" | tr -s ' ' || true)
      printf 'apt: cannot install %s: %s%s\n' "$p" "${reason#E: }" "${first:+ (${first# })}" >&2
      exit 1
    fi
  done
  reason=$(grep '^E:' "$log" | tail -n 1)
  rm -f "$log"
  printf 'apt: cannot install %s: %s\n' "$*" "${reason#E: }" >&2
  exit 1
}
