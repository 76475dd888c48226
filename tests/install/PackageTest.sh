#!/usr/bin/env bash
# Builds the Debian package and checks what it holds and what it depends on.
# Usage: PackageTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" > cpack.log) ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/kavoro_2.2-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$work")"

info=$(dpkg-deb --info "$deb")
for field in "Package: kavoro" "Version: 2.2-1" "Section: utils"; do
  grep -q "^ $field\$" <<< "$info" || fail "the control file lacks '$field'"
done
depends=$(grep '^ Depends:' <<< "$info")
for package in libqt6widgets6 libxlsxwriter libicu libsqlite3 libtag libexiv2 qt6-qpa-plugins \
  libqt6svg6 fonts-dejavu-core; do
  grep -q "$package" <<< "$depends" || fail "the package does not depend on $package: $depends"
done

# Exactly these files, nothing of the build or the tests.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sort > "$work/files"
cat > "$work/expected" <<'LIST'
./usr/bin/kavoro
./usr/bin/kavoro-list
./usr/share/applications/org.kavoro.Kavoro.desktop
./usr/share/icons/hicolor/scalable/apps/org.kavoro.Kavoro.svg
./usr/share/kavoro/endungen.ini
./usr/share/kavoro/help.css
./usr/share/kavoro/help.htm
./usr/share/kavoro/hilfe.htm
./usr/share/kavoro/optionen.ini
./usr/share/man/man1/kavoro-list.1.gz
./usr/share/man/man1/kavoro.1.gz
./usr/share/metainfo/org.kavoro.Kavoro.metainfo.xml
LIST
diff "$work/expected" "$work/files" || fail "the package holds other files than expected"
echo "package ok: $(basename "$deb")"
