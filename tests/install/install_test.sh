#!/usr/bin/env bash
# The installed program as a user meets it: installs the build into a
# temporary prefix, writes a new system with `karvel1 init` in a directory
# outside the source tree and runs it with the installed program; checks
# that init refuses a directory that holds a system, that the manual page
# formats without a warning, and that `karvel1 serve` finds its server.
# With --package also builds the Debian package and checks what it holds.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR [--package]
# (CMAKE and CPACK name the build's own cmake and cpack, where ctest runs it.)
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
package=${3:-}
cmake=${CMAKE:-cmake}
cpack=${CPACK:-cpack}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in groff dpkg-deb dpkg-shlibdeps file; do
  command -v $tool >/dev/null || fail "$tool is missing: scripts/setup --tests installs it"
done

"$cmake" --install "$build" --prefix "$tmp/prefix" >/dev/null
karvel1=$tmp/prefix/bin/karvel1

# A new system from the bundled meat example, run by the installed program.
mkdir "$tmp/work"
cd "$tmp/work"
"$karvel1" init sys --from meat >init.out || fail "karvel1 init sys --from meat exited with $?"
grep -q "karvel1 sys -o RESULTS.TXT" init.out || fail "init does not say how to run the new system: $(cat init.out)"
diff -r "$source/examples/meat" sys >/dev/null || fail "init did not write the meat example as it is"
"$karvel1" sys -o R.TXT -q || fail "the installed program exited with $? on the new system"
cmp -s sys/R.TXT "$source/tests/golden/meat/RESULTS.TXT" || fail "the results file differs from the meat example's"

# A run in a directory without a system says how to make one.
mkdir empty
status=0
(cd empty && "$karvel1" -o R.TXT -q 2>../empty.err) || status=$?
[ "$status" -eq 1 ] && grep -q "karvel1 init DIR" empty.err ||
  fail "a run without a system exited with $status and did not point to init: $(cat empty.err)"

# A directory with one file of a system is refused and left as it was.
mkdir mine
echo "my own file" >mine/INPUTS07.TXT
status=0
"$karvel1" init mine 2>refused.err || status=$?
[ "$status" -eq 1 ] || fail "init into a directory with INPUTS07.TXT exited with $status, not 1"
grep -q "INPUTS07.TXT" refused.err || fail "the refusal does not name INPUTS07.TXT: $(cat refused.err)"
[ "$(ls mine)" = "INPUTS07.TXT" ] && [ "$(cat mine/INPUTS07.TXT)" = "my own file" ] ||
  fail "init changed a directory it refused"

# The manual page formats without a warning; the examples are installed.
page=$tmp/prefix/share/man/man1/karvel1.1
warnings=$(groff -ww -z -man "$page" 2>&1) || fail "groff failed on the manual page"
[ -z "$warnings" ] || fail "groff warns on the manual page: $warnings"
version=$("$karvel1" --version)
grep -q "^\.TH .*\"$version\"" "$page" || fail "the manual page is not that of $version"
[ -f "$tmp/prefix/share/karvel1/examples/large/PARAS.TXT" ] || fail "the examples are not installed"
# The installed README's links lead to installed files.
doc=$tmp/prefix/share/doc/karvel1
[ -f "$doc/README.md" ] || fail "the README is not installed"
for link in $(grep -o '](\([^)#]*\)' "$doc/README.md" | sed 's/^](//' | grep -v '://' | sort -u); do
  [ -e "$doc/$link" ] || fail "the installed README links to $link, which is not installed"
done
"$karvel1" serve --help >/dev/null || fail "the installed karvel1 does not find its server"

if [ "$package" = --package ]; then
  (cd "$build" && "$cpack" -G DEB -B "$tmp/package" >"$tmp/cpack.out" 2>&1) ||
    fail "cpack -G DEB failed: $(cat "$tmp/cpack.out")"
  deb=$(ls "$tmp"/package/karvel1_*.deb 2>/dev/null) || fail "cpack wrote no package: $(cat "$tmp/cpack.out")"
  [ "$(dpkg-deb -f "$deb" Version)" = "${version#karvel1 }" ] || fail "the package is not that of $version"
  contents=$(dpkg-deb -c "$deb")
  for f in ./usr/bin/karvel1 ./usr/libexec/karvel1/karvel1-serve ./usr/share/man/man1/karvel1.1 \
           ./usr/share/karvel1/examples/meat/PARAS.TXT ./usr/share/doc/karvel1/README.md; do
    grep -q " $f\$" <<<"$contents" || fail "the package does not hold $f"
  done
  # The server's shared libraries are found by the package tools.
  dpkg-deb -f "$deb" Depends | grep -q "libcpp-httplib" || fail "the package does not depend on cpp-httplib"
fi
echo "installed program, init and manual page: ok"
