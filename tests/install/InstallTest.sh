#!/usr/bin/env bash
# Installs Kavoro into a temporary prefix and starts the installed programs there as an ordinary
# user with a fresh home: the first start makes the user's settings folder from the shipped
# files, nothing is written under the prefix, and a later start keeps what the user changed.
# Usage: InstallTest.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
umask 022
work=$(mktemp -d)
chmod 755 "$work"
prefix=$work/prefix
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

home=$work/home
mkdir -p "$home/Musik/Alben" "$home/run"
printf 'x' > "$home/Musik/Alben/lied.mp3"
chmod 700 "$home/run"
# As root (as in CI) the programs run as nobody, who cannot write under the prefix; otherwise
# as the user running the tests, with the prefix made read-only.
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  chown -R nobody:nogroup "$home"
else
  as_user=()
  chmod -R a-w "$prefix"
fi
run() {
  env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$@"
}
# The window runs until it is stopped: it must still be running after a few seconds.
run_window() {
  local status=0
  run timeout 4 "$prefix/bin/kavoro" "$@" > "$work/window.log" 2>&1 || status=$?
  [ "$status" = 124 ] || { cat "$work/window.log"; fail "the installed window ended with $status"; }
}
snapshot() { find "$prefix" -printf '%p %s %T@ %m\n' | sort; }
before=$(snapshot)
settings=$home/.config/kavoro
shipped=$prefix/share/kavoro

# The command line's first start makes the settings folder from the shipped files.
run "$prefix/bin/kavoro-list" -r "$home/Musik" --txt "$home/musik.txt" ||
  fail "the installed kavoro-list failed"
grep -q 'lied\.mp3' "$home/musik.txt" || fail "the listing lacks lied.mp3"
cmp "$settings/optionen.ini" "$source/resources/optionen.ini" || fail "optionen.ini differs"
cmp "$settings/endungen.ini" "$source/resources/endungen.ini" || fail "endungen.ini differs"

# The window starts on that folder and saves optionen.ini padded: 25 lines, the options of
# the shipped file unchanged.
run_window "$home/Musik"
[ "$(wc -l < "$settings/optionen.ini")" = 25 ] || fail "optionen.ini is not padded to 25 lines"
cmp <(head -n 15 "$settings/optionen.ini") <(head -n 15 "$source/resources/optionen.ini") ||
  fail "the window changed the shipped options"

# A later start keeps the user's own files: English chosen, a category of their own.
sed -i '14s/^0/1/' "$settings/optionen.ini"
printf 'Eigene\r\n.xyz\r\n' >> "$settings/endungen.ini"
cp "$settings/endungen.ini" "$work/own-endungen.ini"
run_window
[ "$(sed -n 14p "$settings/optionen.ini")" = $'1\r' ] || fail "the chosen language was lost"
cmp "$settings/endungen.ini" "$work/own-endungen.ini" || fail "the user's catalog was replaced"

[ "$(snapshot)" = "$before" ] || fail "something was written under the prefix"

# A settings folder the user cannot write in is named, with the reason; the listing goes on.
chmod 555 "$settings"
message=$(run "$prefix/bin/kavoro-list" "$home/Musik" 2>&1 >/dev/null) ||
  fail "kavoro-list failed with an unwritable settings folder"
[[ "$message" == *"Cannot write in folder $settings (Permission denied)"* ]] ||
  fail "unexpected message: $message"

# The installed desktop entry, metainfo and man pages are valid, and the man pages name every
# option that --help shows.
desktop-file-validate "$prefix/share/applications/org.kavoro.Kavoro.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.kavoro.Kavoro.metainfo.xml" > /dev/null
for program in kavoro kavoro-list; do
  page=$(zcat "$prefix/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $(run "$prefix/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<< "$page" || fail "$program.1 does not describe $option"
  done
done
echo "installed program works"
