#!/bin/sh
# scripts/check-layers fails on every form of an include that reaches up a
# layer, and on a file in a folder of no layer; a tree that keeps its layers
# passes. Each case is a scratch tree of its own.
#   check_layers_test.sh CHECK_LAYERS
check=$1
scratch=$(mktemp -d /tmp/zelvo-layers-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failures=0

# tree NAME FILE CONTENT: a tree with a good ui header and the one file given.
tree() {
    root="$scratch/$1/src"
    mkdir -p "$root/ui" "$root/cart" "$(dirname "$root/$2")"
    printf '#include <QString>\n#include "cart/bus.h"\n' >"$root/ui/view.h"
    printf 'int bus;\n' >"$root/cart/bus.h"
    printf '%b' "$3" >"$root/$2"
}

expect() {  # expect NAME fails|passes
    if "$check" "$scratch/$1/src" >"$scratch/$1.out" 2>&1; then result=passes; else result=fails; fi
    if [ "$result" != "$2" ]; then
        echo "check-layers $result on $1, expected: $2"
        cat "$scratch/$1.out"
        failures=$((failures + 1))
    fi
}

tree quoted cart/a.cpp '#include "ui/view.h"\n'
tree angled cart/a.cpp '#include <ui/view.h>\n'
tree indented cart/a.cpp '    #include "ui/view.h"\n'
tree spaced cart/a.cpp '#  include  "ui/view.h"\n'
tree tabbed cart/a.cpp '\t# include <ui/view.h>\n'
tree climbing cart/a.cpp '#include "../ui/view.h"\n'
tree detour cart/a.cpp '#include "cart/../ui/view.h"\n'
tree macro cart/a.cpp '#define VIEW "ui/view.h"\n#include VIEW\n'
tree commented cart/a.cpp '/* a note */ #include "ui/view.h"\n'
tree hpp cart/a.hpp '#include "ui/view.h"\n'
tree unknown tools/helper.cpp 'int helper;\n'
tree good cart/a.cpp '#include "cart/bus.h"\n#include "bus.h"\n#include "../cart/bus.h"\n#include <vector>\n'
for name in quoted angled indented spaced tabbed climbing detour macro commented hpp unknown; do
    expect "$name" fails
done
expect good passes
[ "$failures" -eq 0 ] && echo "check-layers: every bad form found, the good tree passes"
exit "$failures"
