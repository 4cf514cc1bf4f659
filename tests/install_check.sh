#!/usr/bin/env bash
# The installation as a desktop sees it: installs the build into a temporary
# prefix, then checks the installed programs on the examples, the desktop
# entries, the MIME package (a project known by its name and, renamed, by its
# signature), the AppStream data, the manual pages, and the thumbnailer on
# every example and on damaged projects (the project fuzz corpus among them).
# Usage: install_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

cmake --install "$build" --prefix "$prefix" >/dev/null

# Everything in its FHS place.
for f in bin/cirquel bin/cirquel-cli bin/cirquel-thumbnailer share/cirquel/Cirquel.ART4 \
         share/cirquel/help/en/1.html share/applications/cirquel.desktop \
         share/mime/packages/cirquel.xml share/thumbnailers/cirquel.thumbnailer \
         share/metainfo/org.cirquel.Cirquel.metainfo.xml share/man/man1/cirquel.1 \
         share/man/man1/cirquel-cli.1 share/bash-completion/completions/cirquel-cli \
         share/icons/hicolor/scalable/apps/cirquel.svg \
         share/icons/hicolor/scalable/mimetypes/application-x-cirquel-project.svg; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for n in 16 22 24 32 48 64 128 256; do
  for f in apps/cirquel.png mimetypes/application-x-cirquel-project.png; do
    png="$prefix/share/icons/hicolor/${n}x$n/$f"
    [ "$(file -b "$png" 2>/dev/null | grep -o "$n x $n")" = "$n x $n" ] || fail "$png is not a $n x $n PNG"
  done
done
# The manual whole: every language's pages and the pictures they share.
diff -r "$src/share/cirquel/help" "$prefix/share/cirquel/help" >/dev/null ||
  fail "the installed help differs from share/cirquel/help"
for lang in en de fr es ja; do
  [ -f "$prefix/share/cirquel/help/$lang/106.html" ] || fail "the $lang help is not installed"
done
[ -f "$prefix/share/cirquel/help/img/road_text.png" ] || fail "the help's pictures are not installed"
cmp -s "$build/share/cirquel/Cirquel.ART4" "$prefix/share/cirquel/Cirquel.ART4" || fail "the art database differs"

# The installed command line on the examples: the README's render, and each
# saved project drawn as it prints.
cli="$prefix/bin/cirquel-cli"
"$cli" render "$src/examples/summer-holiday/summer-holiday.json" -o "$work/summer.png" ||
  fail "the installed cirquel-cli does not render the README's example"
for p in "$src"/examples/*/*.cd4; do
  "$cli" info "$p" >/dev/null || fail "the installed cirquel-cli cannot read $p"
done
# Read whole first: grep -q stops at the match and the writer's broken pipe
# would fail the pipeline.
help_text=$("$cli" --help)
grep -q '^  render ' <<<"$help_text" || fail "cirquel-cli --help does not list render"
# The manual page lists every command of the help.
for cmd in $("$cli" --help | sed -n 's/^  \([a-z-]*\)  .*/\1/p'); do
  grep -q "^\.SS $cmd\$" "$prefix/share/man/man1/cirquel-cli.1" || fail "the manual page lacks $cmd"
done

# Desktop entries, thumbnailer (a desktop-entry file too) and AppStream.
for d in "$prefix"/share/applications/*.desktop; do
  out=$(desktop-file-validate "$d" 2>&1) || fail "desktop-file-validate $d: $out"
  [ -z "$out" ] || fail "desktop-file-validate $d: $out"
done
grep -q '^Exec=cirquel %f$' "$prefix/share/applications/cirquel.desktop" || fail "the desktop entry does not start cirquel from the PATH"
out=$(appstreamcli validate --no-net "$prefix/share/metainfo/org.cirquel.Cirquel.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $out"

# The MIME package: a project by its name, and renamed, by its signature.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
project="$src/examples/summer-holiday/summer-holiday.cd4"
cp "$project" "$work/renamed.dat"
query() {
  XDG_CURRENT_DESKTOP=GNOME XDG_DATA_DIRS="$prefix/share:/usr/share" GIO_USE_VFS=local \
    xdg-mime query filetype "$1" 2>/dev/null
}
[ "$(query "$project")" = application/x-cirquel-project ] || fail "xdg-mime: $project is $(query "$project")"
[ "$(query "$work/renamed.dat")" = application/x-cirquel-project ] ||
  fail "xdg-mime: a renamed project is $(query "$work/renamed.dat")"

# The thumbnailer, run as the thumbnailer file says. On a project: a PNG at
# most SIZE on its longer side, exactly SIZE when the label is larger.
thumb="$prefix/bin/cirquel-thumbnailer"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/cirquel.thumbnailer")
[ "$exec_line" = "cirquel-thumbnailer -s %s %i %o" ] || fail "thumbnailer Exec is $exec_line"
png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1 \2/p'; }
for p in "$src"/examples/*/*.cd4; do
  for size in 128 256; do
    out="$work/thumb-$size.png"
    rm -f "$out"
    if ! "$thumb" -s "$size" "$p" "$out"; then fail "thumbnailer on $p"; continue; fi
    read -r w h <<<"$(png_size "$out")"
    longer=$((w > h ? w : h))
    [ "$longer" -eq "$size" ] || fail "thumbnail of $p at $size is $w x $h"
  done
done
# Damaged projects: every one ends in status 0 with a PNG or 2 with nothing
# written; a crash or a sanitizer report is a failure.
damaged="$work/damaged"
mkdir -p "$damaged"
for p in "$src"/examples/*/*.cd4; do
  name=$(basename "$p" .cd4)
  len=$(stat -c %s "$p")
  for cut in 2 4 40 $((len / 3)) $((len / 2)) $((len - 1)); do head -c "$cut" "$p" >"$damaged/$name-cut$cut.cd4"; done
  for at in 6 30 $((len / 4)) $((len / 2)); do
    cp "$p" "$damaged/$name-flip$at.cd4"
    printf '\377\377\377\177' | dd of="$damaged/$name-flip$at.cd4" bs=1 seek="$at" conv=notrunc status=none
  done
done
checked=0
for p in "$damaged"/*.cd4 "$src"/tests/data/projects/*.cd4 "$build"/fuzz/corpus/project/*; do
  [ -f "$p" ] || continue
  out="$work/damaged.png"
  rm -f "$out"
  status=0
  "$thumb" -s 128 "$p" "$out" 2>"$work/stderr" || status=$?
  checked=$((checked + 1))
  case $status in
    0) [ -n "$(png_size "$out")" ] || fail "thumbnailer on $p: status 0 without a PNG" ;;
    2) [ ! -e "$out" ] || fail "thumbnailer on $p: status 2 but $out was written"
       [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "thumbnailer on $p: not one line: $(cat "$work/stderr")" ;;
    *) fail "thumbnailer on $p: status $status: $(head -c 2000 "$work/stderr")" ;;
  esac
done
echo "thumbnailer: $checked damaged or odd projects"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "installation checks passed"
