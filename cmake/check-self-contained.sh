#!/usr/bin/env bash
# Fails when a test or the build could read something that is not in the repository, so that a
# fresh clone (which has nothing beside it) runs exactly the tests that run here.
#
#   check-self-contained.sh SOURCE_DIR CORPUS_DIR
#
# 1. The corpus folder the tests are given lies inside the source tree and holds every file its
#    manifest lists.
# 2. No build file, test or tool names a path outside the tree: a folder beside the checkout
#    (the workspace's shared folder, "<source dir>/.."), or an absolute path of this workspace.
set -euo pipefail

src=$(cd "$1" && pwd -P)
corpus=$2
status=0

fail() {
    echo "self-contained: $*" >&2
    status=1
}

# 1. The corpus.
if [ ! -d "$corpus" ]; then
    fail "corpus folder $corpus does not exist"
else
    corpus=$(cd "$corpus" && pwd -P)
    case "$corpus/" in
        "$src"/*) ;;
        *) fail "corpus folder $corpus is outside the source tree $src" ;;
    esac
    if [ ! -f "$corpus/MANIFEST.tsv" ]; then
        fail "$corpus has no MANIFEST.tsv"
    else
        while IFS=$'\t' read -r file _; do
            [ -f "$corpus/$file" ] || fail "$file is in the corpus manifest but not in $corpus"
        done < <(tail -n +2 "$corpus/MANIFEST.tsv")
    fi
fi

# 2. Paths in the sources (this file, which spells the patterns out, aside).
self=$(cd "$(dirname "$0")" && pwd -P)/$(basename "$0")
parent='\.\.'
patterns=(
    "$parent/shared"                         # the workspace's shared folder beside the checkout
    "(SOURCE_DIR|BINARY_DIR)[}\" ]*/$parent"  # ${PROJECT_SOURCE_DIR}/.. and MES_SOURCE_DIR "/..
    "[\"' =]/work/"                          # absolute paths of this workspace
)
args=()
for p in "${patterns[@]}"; do
    args+=(-e "$p")
done
hits=$(find "$src" \( -path "$src/.git" -o -path "$src/build*" -o -path "$src/data" \
    -o -path "$src/formats/testdata" -o -name fuzz_corpus -o -name node_modules \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cmake' -o -name 'CMakeLists.txt' \
    -o -name '*.sh' -o -name '*.py' -o -name '*.in' \) ! -path "$self" -print0 |
    xargs -0 grep -nHE "${args[@]}" || true)
if [ -n "$hits" ]; then
    fail "paths outside the repository:"
    echo "${hits//"$src/"/}" >&2
fi

[ $status -eq 0 ] && echo "self-contained: tests and build read only what $src holds"
exit $status
