#!/usr/bin/env bash
# The release packages, built with CPack as scripts/package builds them.
#   package_test.sh deb VERSION LINUX_BUILD OUT_DIR
#     The Debian package: its name, control fields and exact file list, unpacked into a
#     scratch root with dpkg -x: the paths xscreensaver and man read, the command on the
#     PATH, the installed hack answering --help and --version; lintian when installed.
#   package_test.sh zip VERSION WINDOWS_BUILD OUT_DIR MATCH_TOOL
#     The Windows zip: its exact listing, a 32-bit GUI lumivane.scr whose version resource
#     carries VERSION, a README.txt with Windows line ends; then the unzipped saver under
#     Wine with "/s" through the screenshot check, where this kernel runs 32-bit programs.
#     Exits 77 (skipped) when the Windows build is not there.
set -u
mode=$1 version=$2 build=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
root_dir=$(cd "$here/../.." && pwd)
cpack=${CPACK:-cpack} cmake=${CMAKE:-cmake}
failures=0

fail() { echo "FAIL ($mode): $*"; failures=$((failures + 1)); }
# To standard error: it also ends the command substitutions that return paths.
die() { echo "FAIL ($mode): $*" >&2; exit 1; }

# Builds one package with CPack into a scratch folder and prints its path.
build_package() {  # build_package GENERATOR NAME
  local dir=$out/$mode
  rm -rf "$dir/cpack" "$dir/root" "$dir/unzipped" "$dir/e2e"
  mkdir -p "$dir"
  if ! "$cpack" --config "$build/CPackConfig.cmake" -G "$1" -B "$dir/cpack" >"$dir/cpack.log" 2>&1; then
    tail -30 "$dir/cpack.log" >&2
    die "cpack -G $1 failed"
  fi
  [ -f "$dir/cpack/$2" ] || { ls "$dir/cpack" >&2; die "cpack made no $2"; }
  echo "$dir/cpack/$2"
}

check_deb() {
  local deb root listing expected field value
  deb=$(build_package DEB "lumivane_${version}_amd64.deb") || exit 1
  echo "built $(basename "$deb")"

  # Control fields: the binary's libraries found by shlibdeps, Xft for the About window
  # (opened at run time), xscreensaver recommended.
  while IFS='|' read -r field value; do
    [[ "$(dpkg-deb -f "$deb" "$field")" =~ $value ]] || fail "control field $field: '$(dpkg-deb -f "$deb" "$field")' does not match '$value'"
  done <<EOT
Package|^lumivane$
Version|^${version//./\\.}$
Architecture|^amd64$
Depends|(^|, )libc6 \(>= [^)]+\)(,|$)
Depends|(^|, )libglfw3 \(>= [^)]+\)(,|$)
Depends|(^|, )libx11-6( \([^)]+\))?(,|$)
Depends|(^|, )libxft2( \([^)]+\))?(,|$)
Recommends|^xscreensaver$
Section|^x11$
Description|^3D screensaver
EOT

  # Exactly these entries (directories as dpkg lists them): nothing stray from tools or tests.
  listing=$(dpkg-deb -c "$deb" | awk '{ p = $6; if ($7 == "->") p = p " -> " $8; print p " (" substr($1, 1, 1) ")" }' | sort)
  expected=$(sort <<'EOT'
./usr/ (d)
./usr/bin/ (d)
./usr/bin/lumivane -> ../libexec/xscreensaver/lumivane (l)
./usr/libexec/ (d)
./usr/libexec/xscreensaver/ (d)
./usr/libexec/xscreensaver/lumivane (-)
./usr/share/ (d)
./usr/share/doc/ (d)
./usr/share/doc/lumivane/ (d)
./usr/share/doc/lumivane/changelog.gz (-)
./usr/share/doc/lumivane/copyright (-)
./usr/share/man/ (d)
./usr/share/man/man6/ (d)
./usr/share/man/man6/lumivane.6.gz (-)
./usr/share/xscreensaver/ (d)
./usr/share/xscreensaver/config/ (d)
./usr/share/xscreensaver/config/lumivane.xml (-)
EOT
)
  [ "$listing" = "$expected" ] || fail "package contents differ:
$(diff <(echo "$expected") <(echo "$listing"))"
  dpkg-deb -c "$deb" | awk '$2 != "root/root" { bad = 1; print "  not owned by root: " $0 } END { exit bad }' ||
    fail "files not owned by root"

  root=$out/$mode/root
  dpkg-deb -x "$deb" "$root" || die "dpkg -x failed"
  local hack=$root/usr/libexec/xscreensaver/lumivane
  [ -x "$hack" ] && file -b "$hack" | grep -q '^ELF 64-bit.*x86-64' || fail "the hack is not an x86-64 executable: $(file -b "$hack")"
  file -b "$hack" | grep -q 'not stripped' && fail "the hack is not stripped"
  [ "$(readlink -f "$root/usr/bin/lumivane")" = "$(readlink -f "$hack")" ] || fail "/usr/bin/lumivane does not lead to the hack"
  gzip -t "$root/usr/share/man/man6/lumivane.6.gz" && zcat "$root/usr/share/man/man6/lumivane.6.gz" |
    grep -q "^\.TH LUMIVANE 6 .*\"Lumivane $version\"" || fail "the manual is not a gzipped page 6 of version $version"
  zcat "$root/usr/share/doc/lumivane/changelog.gz" | head -1 | grep -q "^lumivane ($version) " ||
    fail "the changelog's first entry is not version $version"
  grep -q '<screensaver name="lumivane"' "$root/usr/share/xscreensaver/config/lumivane.xml" ||
    fail "the settings entry does not name the hack"

  # The installed hack itself, run by hand through its command on the PATH.
  local help code before=$failures
  help=$("$root/usr/bin/lumivane" --help 2>&1); code=$?
  [ "$code" = 0 ] || fail "lumivane --help exit code $code"
  for option in --root --window-id --help --version; do
    grep -q -- "$option" <<<"$help" || fail "--help does not list $option"
  done
  [ "$("$root/usr/bin/lumivane" --version 2>&1)" = "lumivane $version" ] ||
    fail "--version says '$("$root/usr/bin/lumivane" --version 2>&1)', not 'lumivane $version'"
  [ "$failures" = "$before" ] && echo "installed hack: --help lists its options, --version says $version"

  if command -v lintian >/dev/null; then
    # --fail-on error: a warning is reported but passes; an error fails.
    # (Its note about running as root is about lintian itself, not the package.)
    if lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' >"$out/$mode/lintian.txt"
       [ "${PIPESTATUS[0]}" = 0 ]; then
      echo "lintian: no errors$( [ -s "$out/$mode/lintian.txt" ] && echo ', it says:')"
      cat "$out/$mode/lintian.txt"
    else
      cat "$out/$mode/lintian.txt"
      fail "lintian reports errors"
    fi
  else
    echo "lintian: not installed (scripts/setup installs it), not run"
  fi
}

check_zip() {
  local match=$1 zip top listing expected unzipped info key
  if [ ! -f "$build/CPackConfig.cmake" ] || [ ! -f "$build/src/lumivane.scr" ]; then
    echo "SKIP: the Windows build is not in $build (scripts/build windows)"
    exit 77
  fi
  # CPack packs what is built: bring the saver up to date first, as scripts/package does
  # (nothing to do after scripts/test's builds).
  mkdir -p "$out/$mode"
  if ! "$cmake" --build "$build" --target lumivane >"$out/$mode/build.log" 2>&1; then
    tail -20 "$out/$mode/build.log"
    die "the Windows build of lumivane.scr failed"
  fi
  top=lumivane-$version-win32
  zip=$(build_package ZIP "$top.zip") || exit 1
  echo "built $(basename "$zip")"
  listing=$(unzip -Z1 "$zip" | sort)
  expected=$(printf '%s\n' "$top/" "$top/README.txt" "$top/lumivane.scr" | sort)
  # Some zip writers list no entry for the folder itself.
  [ "$listing" = "$expected" ] || [ "$listing" = "$(grep -v '/$' <<<"$expected")" ] ||
    fail "zip contents differ:
$(diff <(echo "$expected") <(echo "$listing"))"

  unzipped=$out/$mode/unzipped
  mkdir -p "$unzipped"
  unzip -q "$zip" -d "$unzipped" || die "unzip failed"
  local scr=$unzipped/$top/lumivane.scr readme=$unzipped/$top/README.txt
  info=$(perl "$here/pe_info.pl" "$scr") || die "cannot read lumivane.scr's headers"
  echo "$info" | sed 's/^/  /'
  local numeric
  numeric=$(awk -F. '{ for (i = 1; i <= 4; i++) printf "%s%d", (i > 1 ? "." : ""), ($i == "" ? 0 : $i) }' <<<"$version")
  while IFS='|' read -r key value; do
    grep -qxF "$key$value" <<<"$info" || fail "lumivane.scr: no '$key$value'"
  done <<EOT
format |PE32
machine |i386
subsystem |2
file-version |$numeric
product-version |$numeric
string FileVersion=|$version
string ProductVersion=|$version
string OriginalFilename=|lumivane.scr
EOT
  [ -s "$readme" ] || fail "no README.txt"
  ! grep -q -v $'\r$' "$readme" || fail "README.txt does not end every line with CR LF"
  for word in Install SysWOW64 System32 Remove "$version"; do
    grep -qF "$word" "$readme" || fail "README.txt does not mention $word"
  done

  . "$root_dir/scripts/lib/i386.sh"
  if lv_i386_runs; then
    bash "$root_dir/tests/e2e/saver_e2e.sh" keys "$match" "$out/$mode/e2e" "$root_dir/scripts/wine-run" "$scr" ||
      fail "the unzipped lumivane.scr under Wine with /s"
  else
    echo "NOT RUN: lumivane.scr under Wine with /s: this kernel runs no 32-bit programs (the zip's contents were checked above)"
  fi
}

case "$mode" in
  deb) check_deb ;;
  zip) check_zip "${5:?match tool}" ;;
  *) die "unknown mode" ;;
esac
[ "$failures" = 0 ] || exit 1
echo "PASS ($mode)"
