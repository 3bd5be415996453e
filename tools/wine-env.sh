# Sourced by the Wine scripts: one throw-away Wine prefix and one private X
# screen per suite, and cleanup of exactly what was started here.
#
#   wine_suite_begin NAME   fresh prefix build/wine/NAME/prefix (a copy of the
#                           template, its system files hard-linked), HOME with
#                           a null ALSA sink, Xvfb display
#   wine_suite_end          ends this suite's wineserver and Xvfb and removes
#                           its prefix (~600 MB; the shots and the result stay),
#                           unless DORMIX_KEEP_PREFIX is set
#
# Every process of a prefix runs in one Wine virtual desktop, 1024x768 with a
# taskbar: the template sets the default desktop to "shell" (the one desktop
# name for which Wine's explorer shows its taskbar). So helper processes of a
# test see the program's windows and reach its hotkeys, and plain `wine prog`
# still returns the program's exit code and output.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${DORMIX_BUILD_DIR:-$root/build}
template=$build_dir/wine/template
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_template() {
  mkdir -p "$build_dir/wine"
  (
    flock 9
    [ -f "$template/.ready" ] && exit 0
    rm -rf "$template.tmp"
    WINEPREFIX=$template.tmp DISPLAY= wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template.tmp wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    WINEPREFIX=$template.tmp wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    WINEPREFIX=$template.tmp wineserver -w
    cp /usr/share/wine/fonts/*.ttf "$template.tmp/drive_c/windows/Fonts/"
    touch "$template.tmp/.ready"
    rm -rf "$template"
    mv "$template.tmp" "$template"
  ) 9>"$build_dir/wine/template.lock"
}

# A prefix of its own, made in a fraction of a second: the files Wine only
# ever reads (the libraries, code pages and fonts under drive_c/windows, 580
# of the template's 590 MB) are hard links to the template's; every other
# file, the registry first of all, is a copy, so that nothing a suite writes
# reaches the template.
wine_prefix_copy() {
  local to=$2
  cp -a --link "$1" "$to"
  find "$to" -type f ! \( -path "$to/drive_c/windows/*" -regextype posix-extended \
    -iregex '.*\.(dll|exe|nls|sys|drv|ttf|vxd|ocx|cpl|acm|tlb|ax|ds|mod|com)' \) \
    -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' sh {} +
}

wine_suite_begin() {
  suite_dir=$build_dir/wine/$1
  wine_template
  rm -rf "$suite_dir"
  mkdir -p "$suite_dir/home" "$suite_dir/shots"
  wine_prefix_copy "$template" "$suite_dir/prefix"
  export WINEPREFIX=$suite_dir/prefix
  export HOME=$suite_dir/home
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  export DORMIX_SHOTS=$suite_dir/shots
  exec 8< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  local line
  read -r line <&8; xvfb_pid=${line#pid }
  read -r line <&8; export DISPLAY=:$line
  trap wine_suite_end EXIT
}

wine_suite_end() {
  [ -n "${suite_dir:-}" ] || return 0
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  [ -z "${DORMIX_KEEP_PREFIX:-}" ] && rm -rf "$suite_dir/prefix"
  suite_dir=
  return 0
}
