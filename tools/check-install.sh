#!/usr/bin/env bash
# Checks the installed Trel: builds the Debian package from a build folder, unpacks it into a
# scratch root, checks its file list and dependencies, moves the installation elsewhere and runs
# it from there (qn, trel, the language server, the trel-ide launcher), validates the desktop
# files, and runs lintian on the package. `cmake --install` with DESTDIR must give the same files.
#
#   tools/check-install.sh [BUILD_DIR]        exits 1 on the first failed check
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build}")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
pass() { echo "  ok: $*"; }
fail() {
  echo "  FAILED: $*" >&2
  failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...: passes when the command succeeds
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then pass "$what"; else fail "$what"; fi
}

echo "== the Debian package"
rm -rf "$build/packages"
cmake --build "$build" --target package_deb >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  exit 1
}
version=$(cat "$build/dist/VERSION")
deb="$build/packages/trel_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no $deb" >&2; ls "$build/packages" >&2; exit 1; }
pass "built $(basename "$deb") ($(du -h "$deb" | cut -f1))"
depends=$(dpkg-deb -f "$deb" Depends)
echo "  Depends: $depends"
for lib in libc6 libstdc++6 libqt6widgets6 libqscintilla2-qt6; do
  [[ $depends == *"$lib"* ]] && pass "Depends names $lib" || fail "Depends lacks $lib"
done
[ -n "$(dpkg-deb -f "$deb" Description)" ] && pass "it has a description" || fail "no description"

dpkg-deb -x "$deb" "$tmp/deb"
(cd "$tmp/deb" && find . ! -type d | sort) >"$tmp/deb.list"
expected=(
  usr/bin/trel usr/bin/qn usr/bin/trel-ide usr/lib/trel/base.exe
  usr/share/trel/halp.rtf usr/share/trel/VERSION usr/share/trel/lib/numbers.qnlib
  usr/share/trel/lib/text.qnlib usr/share/trel/examples/hello.qn usr/share/trel/examples/procedure.qn
  usr/share/man/man1/qn.1.gz usr/share/man/man1/trel.1.gz usr/share/man/man1/trel-ide.1.gz
  usr/share/applications/trel.desktop usr/share/metainfo/org.qnplus.Trel.metainfo.xml
  usr/share/mime/packages/trel.xml usr/share/icons/hicolor/scalable/apps/trel.svg
  usr/share/icons/hicolor/16x16/apps/trel.png usr/share/icons/hicolor/256x256/apps/trel.png
  usr/share/bash-completion/completions/qn usr/share/zsh/vendor-completions/_qn
  usr/share/fish/vendor_completions.d/qn.fish
  usr/share/org.kde.syntax-highlighting/syntax/qnplus.xml
  usr/share/gtksourceview-4/language-specs/qnplus.lang usr/share/vim/vimfiles/syntax/qn.vim
  usr/share/vim/vimfiles/ftdetect/qn.vim usr/share/doc/trel/copyright usr/share/doc/trel/changelog.gz
)
missing=0
for f in "${expected[@]}"; do
  grep -qx "./$f" "$tmp/deb.list" || { fail "the package lacks /$f"; missing=1; }
done
[ $missing -eq 0 ] && pass "the package holds all ${#expected[@]} expected files ($(wc -l <"$tmp/deb.list") in all)"
for f in "${expected[@]}"; do
  [ -e "$tmp/deb/$f" ] || fail "/$f is a dangling link"
done
[ "$(readlink "$tmp/deb/usr/lib/trel/base.exe")" = "../../bin/trel" ] && pass "the stub is a relative link to bin/trel" ||
  fail "lib/trel/base.exe is not a link to ../../bin/trel"
if grep -rlF -e "$build" -e "$root/" "$tmp/deb" >"$tmp/refs"; then
  fail "installed files refer to the build or source folder: $(tr '\n' ' ' <"$tmp/refs")"
else
  pass "nothing installed refers to the build or source folder"
fi

echo "== cmake --install gives the same files"
DESTDIR="$tmp/destdir" cmake --install "$build" --prefix /usr >/dev/null
(cd "$tmp/destdir" && find . ! -type d | sort) >"$tmp/install.list"
if diff "$tmp/deb.list" "$tmp/install.list" >"$tmp/list.diff"; then pass "same file list"; else
  fail "cmake --install and the package differ:"
  cat "$tmp/list.diff" >&2
fi

echo "== the installation, moved to another prefix"
prefix="$tmp/moved/opt/trel"
mkdir -p "$(dirname "$prefix")"
mv "$tmp/deb/usr" "$prefix"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("$prefix/bin/qn" run "$prefix/share/trel/examples/hello.qn")
[[ $out == "Hello, world!"* ]] && pass "the installed qn runs an example" || fail "qn run printed: $out"
"$prefix/bin/qn" --version | grep -qx "qn (Trel) $version.*" && pass "qn --version: $("$prefix/bin/qn" --version)" ||
  fail "qn --version"
"${nodisplay[@]}" "$prefix/bin/trel" --version | grep -q "^trel (Trel) $version" && pass "trel --version" ||
  fail "trel --version"
out=$(cd "$tmp" && "$prefix/bin/qn" build "$prefix/share/trel/examples/hello.qn" -o "$tmp/hello" --stub "$prefix/lib/trel/base.exe" &&
  "${nodisplay[@]}" "$tmp/hello")
[[ $out == "Hello, world!"* ]] && pass "a program built from the installed stub runs" || fail "built program printed: $out"

# The language server finds the installed guide from its own place.
lsp_message() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
{
  lsp_message '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
  lsp_message '{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file:///x.qn","languageId":"qn","version":1,"text":"%ECHO hi\n"}}}'
  lsp_message '{"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///x.qn"},"position":{"line":0,"character":2}}}'
  lsp_message '{"jsonrpc":"2.0","id":3,"method":"shutdown"}'
  lsp_message '{"jsonrpc":"2.0","method":"exit"}'
} >"$tmp/lsp.in"
(cd "$tmp" && "$prefix/bin/qn" lsp <"$tmp/lsp.in" >"$tmp/lsp.out") && pass "qn lsp ends with status 0 after shutdown and exit" ||
  fail "qn lsp exit status"
# A guide entry begins with the heading of its section, in bold.
grep -q '"kind":"markdown","value":"\*\*' "$tmp/lsp.out" &&
  pass "qn lsp hover quotes the installed guide" || fail "qn lsp hover: $(cat "$tmp/lsp.out")"

echo "== trel-ide prepares the start-up directory"
home="$tmp/home"
mkdir -p "$home"
run_ide() { HOME="$home" XDG_DATA_HOME= "${nodisplay[@]}" "$prefix/bin/trel-ide" "$@" 2>"$tmp/ide.err" || true; }
run_ide
dir="$home/.local/share/trel"
grep -q "needs a display" "$tmp/ide.err" && pass "without a display the IDE says what it needs" || fail "trel-ide said: $(cat "$tmp/ide.err")"
[ "$(readlink -f "$dir/base.exe")" = "$(readlink -f "$prefix/bin/trel")" ] && pass "base.exe is the installed stub" || fail "base.exe"
for f in halp.rtf lib/numbers.qnlib projects/hello.qn code.qn; do
  [ -f "$dir/$f" ] || fail "the start-up directory lacks $f"
done
cmp -s "$dir/code.qn" "$prefix/share/trel/examples/procedure.qn" && pass "the first start opens an example" || fail "code.qn"
echo "my text" >"$dir/code.qn"
echo "my version" >"$dir/projects/hello.qn"
rm "$dir/projects/counting.qn"
run_ide "$prefix/share/trel/examples/counting.qn"
[ "$(cat "$dir/code.qn.bak")" = "my text" ] && cmp -s "$dir/code.qn" "$prefix/share/trel/examples/counting.qn" &&
  pass "trel-ide FILE opens FILE and keeps the previous text as code.qn.bak" || fail "trel-ide FILE"
[ "$(cat "$dir/projects/hello.qn")" = "my version" ] && [ ! -e "$dir/projects/counting.qn" ] &&
  pass "the examples are copied once and never over the user's files" || fail "projects/ was changed"
run_ide "$dir/code.qn"
cmp -s "$dir/code.qn" "$prefix/share/trel/examples/counting.qn" && pass "trel-ide with its own code.qn keeps it" || fail "code.qn lost"
XDG_DATA_HOME="$tmp/xdg" HOME="$home" "${nodisplay[@]}" "$prefix/bin/trel-ide" 2>/dev/null || true
[ -f "$tmp/xdg/trel/code.qn" ] && pass "XDG_DATA_HOME is respected" || fail "XDG_DATA_HOME"

echo "== desktop files"
share="$prefix/share"
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate trel.desktop" desktop-file-validate "$share/applications/trel.desktop"
fi
if command -v appstreamcli >/dev/null; then
  check "appstreamcli validate --no-net" appstreamcli validate --no-net "$share/metainfo/org.qnplus.Trel.metainfo.xml"
fi
if command -v xmllint >/dev/null; then
  for f in mime/packages/trel.xml org.kde.syntax-highlighting/syntax/qnplus.xml \
    gtksourceview-4/language-specs/qnplus.lang icons/hicolor/scalable/apps/trel.svg; do
    check "xmllint $f" xmllint --noout "$share/$f"
  done
fi
gtk_schema=/usr/share/gtksourceview-4/language-specs/language2.rng
if command -v xmllint >/dev/null && [ -f "$gtk_schema" ]; then
  check "qnplus.lang follows GtkSourceView's schema" xmllint --noout --relaxng "$gtk_schema" \
    "$share/gtksourceview-4/language-specs/qnplus.lang"
fi
if command -v update-mime-database >/dev/null; then
  cp -r "$share/mime" "$tmp/mime"
  update-mime-database "$tmp/mime" >/dev/null 2>&1
  grep -q "text/x-qnplus:\*\.qn$" "$tmp/mime/globs" && grep -q "text/x-qnplus:\*\.qnlib$" "$tmp/mime/globs" &&
    pass "shared-mime-info maps *.qn and *.qnlib to text/x-qnplus" || fail "the MIME globs"
fi
if command -v vim >/dev/null; then
  # Vim colours what the IDE colours: a keyword, not a keyword inside a longer word, and a whole
  # line holding "//" as a comment.
  printf 'var x\n%%ECHO x // note\nvariable\n' >"$tmp/v.qn"
  cat >"$tmp/probe.vim" <<'VIM'
let out = []
for [l, c] in [[1, 1], [2, 2], [3, 1], [2, 12]]
  call add(out, synIDattr(synID(l, c, 1), 'name'))
endfor
call writefile([&filetype] + out, $PROBE_OUT)
qa!
VIM
  PROBE_OUT="$tmp/probe.out" timeout 30 vim -N -u NONE -i NONE -es -c "set rtp^=$share/vim/vimfiles" \
    -c 'syntax on' -c 'filetype on' -c "e $tmp/v.qn" -c "source $tmp/probe.vim" </dev/null >/dev/null 2>&1 || true
  [ "$(tr '\n' ' ' <"$tmp/probe.out" 2>/dev/null)" = "qn qnKeyword qnComment  qnComment " ] &&
    pass "Vim detects .qn and colours keywords and // lines" || fail "Vim: $(cat "$tmp/probe.out" 2>/dev/null)"
fi

echo "== lintian"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" >"$tmp/lintian.out" 2>&1 || true
  sed 's/^/  /' "$tmp/lintian.out"
  if grep -q '^E:' "$tmp/lintian.out"; then fail "lintian reports errors"; else pass "lintian reports no errors"; fi
fi

if [ $failures -gt 0 ]; then
  echo "check-install: $failures checks failed" >&2
  exit 1
fi
echo "check-install: all checks passed"
