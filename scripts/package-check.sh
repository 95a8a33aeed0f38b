#!/usr/bin/env bash
# Builds Lexora's Debian package and checks it as an installed program: validates the desktop entry,
# the AppStream metadata and the package, installs it, starts lexora under Xvfb as two ordinary users
# made for the check (both at once), checks that each got their own database in their own data folder
# and that nothing was written under the install prefix, then removes the package, the users and any
# package the install pulled in. Refuses to run when lexora is installed already. Needs root (or sudo).
# LEXORA_PRESET picks the build (default: release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LEXORA_PRESET:-release}
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

fail() { echo "package-check: $*" >&2; exit 1; }
if dpkg-query -W -f='${Status}' lexora 2>/dev/null | grep -q 'install ok installed'; then
  fail "lexora is installed already; remove it first so that the check can leave the machine as it was"
fi

scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target lexora lexora-course lexora-check-reading lexora-publish lexora_sample_course lexora_packed_docs
build=build/$preset
rm -f "$build"/lexora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lexora_*_amd64.deb)
echo "package-check: built $deb"

desktop-file-validate packaging/org.lexora.Lexora.desktop
appstreamcli validate --no-net "$build/packaging/org.lexora.Lexora.metainfo.xml" >/dev/null
lintian --allow-root --fail-on error "$deb"
echo "package-check: desktop entry, metadata and package are valid"

users=(lexora-check-a lexora-check-b)
work=$(mktemp -d)
chmod 755 "$work"
before_packages="$work/packages-before"
dpkg-query -W -f='${Package}\n' | sort >"$before_packages"
xvfb_pid=
app_pids=()
cleanup() {
  set +e
  for pid in "${app_pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  for user in "${users[@]}"; do
    id "$user" >/dev/null 2>&1 && "${sudo_cmd[@]}" userdel -r "$user" 2>/dev/null
  done
  if dpkg-query -W -f='${Status}' lexora 2>/dev/null | grep -q 'install ok installed'; then
    "${sudo_cmd[@]}" apt-get purge -y -qq lexora >/dev/null
  fi
  # Whatever the install pulled in goes again.
  dpkg-query -W -f='${Package}\n' | sort | comm -13 "$before_packages" - >"$work/pulled"
  if [ -s "$work/pulled" ]; then
    xargs -a "$work/pulled" "${sudo_cmd[@]}" apt-get purge -y -qq >/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

for user in "${users[@]}"; do
  id "$user" >/dev/null 2>&1 && fail "user $user exists already"
  "${sudo_cmd[@]}" useradd -m -s /bin/sh "$user"
done

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq "./$deb" >/dev/null
[ -x /usr/bin/lexora ] || fail "lexora is not in /usr/bin"
# Where the program looks for the recogniser it loads when a reading is first checked.
[ -f "/usr/lib/$(gcc -print-multiarch)/lexora/lexora-speech.so" ] ||
  fail "the speech module is not in the architecture's library folder"
man -w lexora-course >/dev/null || fail "no manual page for lexora-course"
for tool in lexora lexora-course lexora-publish; do
  env -u DISPLAY "$tool" --version | grep -q "^$tool " || fail "$tool --version does not answer without a display"
  env -u DISPLAY "$tool" --help >/dev/null 2>&1 || fail "$tool --help does not answer without a display"
done
prefix_state() { find /usr/share/lexora /usr/bin -path '*lexora*' -printf '%p %s %T@ %m\n' | sort | sha256sum; }
prefix_before=$(prefix_state)

. scripts/lib/xvfb.sh
start_xvfb "$work"
for user in "${users[@]}"; do
  "${sudo_cmd[@]}" runuser -u "$user" -- env -i HOME="/home/$user" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
    SDL_AUDIODRIVER=dummy LANG=C.UTF-8 lexora >"$work/$user.log" 2>&1 &
  app_pids+=($!)
done
# Both windows up at the same time, each on its own records.
for _ in $(seq 150); do
  [ "$(xdotool search --onlyvisible --name 'Lexora -- ' 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.2
done
windows=$(xdotool search --onlyvisible --name 'Lexora -- ' 2>/dev/null | wc -l)
[ "$windows" -ge 2 ] || { cat "$work"/*.log >&2; fail "expected two Lexora windows, saw $windows"; }
# Each learner's lock beside their courses, one database per course: <data>/default/<course id>/.
record_of() { find "/home/$1/.local/share/lexora/default" -mindepth 2 -maxdepth 2 -name lexora.pet 2>/dev/null | head -n1; }
for user in "${users[@]}"; do
  data=/home/$user/.local/share/lexora/default
  db=$(record_of "$user")
  [ -n "$db" ] || { cat "$work/$user.log" >&2; fail "$user has no database of their own in $data"; }
  [ -f "$data/lexora.lock" ] || fail "$user holds no lock in $data"
  [ "$(stat -c %U "$db")" = "$user" ] || fail "$user's database is not theirs"
done
if [ "$(record_of "${users[0]}")" -ef "$(record_of "${users[1]}")" ]; then
  fail "the two users share one database"
fi
echo "package-check: two users run Lexora at once, each on their own database"

# One user cannot run two: the second start says so and opens no window of its own.
"${sudo_cmd[@]}" runuser -u "${users[0]}" -- env -i HOME="/home/${users[0]}" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
  SDL_AUDIODRIVER=dummy LANG=C.UTF-8 lexora >"$work/second.log" 2>&1 &
app_pids+=($!)
timeout 30 xdotool search --sync --onlyvisible --name '^英语Lexora$' >/dev/null ||
  fail "a second start of the same user was not refused"
[ "$(xdotool search --onlyvisible --name 'Lexora -- ' | wc -l)" -eq 2 ] || fail "a second start opened a window"
echo "package-check: a second start of the same user is refused"

for pid in "${app_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
wait "${app_pids[@]}" 2>/dev/null || true
app_pids=()
[ "$(prefix_state)" = "$prefix_before" ] || fail "something was written under the install prefix"

"${sudo_cmd[@]}" apt-get remove -y -qq lexora >/dev/null
[ ! -e /usr/bin/lexora ] && [ ! -e /usr/share/lexora ] || fail "removing the package left files behind"
[ -n "$(record_of "${users[0]}")" ] || fail "removing the package took a user's records"
echo "package-check: removed cleanly, the users' records stay; all checks passed"
