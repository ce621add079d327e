#!/usr/bin/env bash
# Checks the engine's installed headers as a game sees them, through the
# installed vantrel.pc only (plain -I, so the headers get no system-header
# leniency):
# - every header under include/vantrel/ includes only installed headers;
# - all of them together compile in one program, warning-free at -Wall
#   -Wextra -Wpedantic -Wshadow, with g++ and, when installed, clang++, and
#   each also compiles on its own;
# - that program says `using namespace vantrel;` and then declares and uses
#   its own types with the plain names a game picks (sound, mixer, output,
#   voice, channel, image, timer), so a lower-case engine internal reaching
#   a public header shows up as an ambiguity;
# - each module header include/vantrel/<module>.h includes every header of
#   its module.
# The headers are enumerated from the install, so new ones are covered.
#
# Usage: scripts/check-public-headers.sh PREFIX (an installed engine; the
# prefix as seen from here, DESTDIR included).
set -euo pipefail
prefix=$(cd "${1:?usage: $0 PREFIX}" && pwd)
include=$prefix/include
fail() { echo "check-public-headers: FAILED: $*" >&2; exit 1; }

pc=$(find "$prefix" -name vantrel.pc -print -quit)
[ -n "$pc" ] || fail "no vantrel.pc under $prefix"
cflags=$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags vantrel)
mapfile -t headers < <(cd "$include" && find vantrel -name '*.h' | LC_ALL=C sort)
[ ${#headers[@]} -gt 0 ] || fail "no headers under $include/vantrel"
echo "   ${#headers[@]} installed headers"

for header in "${headers[@]}"; do
    while read -r used; do
        [ -f "$include/$used" ] || fail "$header includes <$used>, which is not installed"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(vantrel\/[^>]*\)>.*/\1/p' "$include/$header")
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program=$work/all_headers.cpp
{
    printf '#include <%s>\n' "${headers[@]}"
    cat <<'EOF'

using namespace vantrel;

// A game's own types, named as a game would name them.
struct sound { int id = 1; };
struct mixer { int voices = 2; };
struct output { int rate = 3; };
struct voice { int note = 4; };
struct channel { int number = 5; };
struct image { int width = 6; };
struct timer { int hertz = 7; };

int main() {
    sound s;
    mixer m;
    output o;
    voice v;
    channel c;
    image i;
    timer t;
    return s.id + m.voices + o.rate + v.note + c.number + i.width + t.hertz == 28 ? 0 : 1;
}
EOF
} >"$program"

compilers=(g++)
if command -v clang++ >/dev/null; then compilers+=(clang++); else echo "   no clang++: g++ only"; fi
flags=(-std=c++20 -Wall -Wextra -Wpedantic -Wshadow -Werror)
for cxx in "${compilers[@]}"; do
    # shellcheck disable=SC2086
    "$cxx" "${flags[@]}" $cflags -c "$program" -o "$work/all_headers.o" ||
        fail "$cxx: the program including every installed header"
    echo "   $cxx: all headers together, warning-free, no name clashes"
done
# Each header on its own brings what it uses (one compiler is enough).
# shellcheck disable=SC2086
printf '%s\n' "${headers[@]}" |
    xargs -P "$(nproc)" -I{} sh -c \
        'h=$1; shift; printf "#include <%s>\\n" "$h" | "$0" "$@" -x c++ -fsyntax-only - || { echo "($h on its own)"; exit 255; }' \
        g++ {} "${flags[@]}" $cflags ||
    fail "a header on its own"
echo "   every header compiles on its own"

for folder in "$include"/vantrel/*/; do
    name=$(basename "$folder")
    module=$include/vantrel/$name.h
    [ -f "$module" ] || fail "no module header vantrel/$name.h"
    for header in "${headers[@]}"; do
        case $header in vantrel/$name/*)
            grep -q "^#include <$header>" "$module" || fail "vantrel/$name.h does not include <$header>" ;;
        esac
    done
done
echo "   every module header includes its module's headers"
