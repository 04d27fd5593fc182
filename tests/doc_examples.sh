#!/usr/bin/env bash
# The manual's examples are the program's real output. Every ```console block
# of docs/*.md is a transcript: each line starting with "$ " is a command
# (payslip-cli is the one just built), the lines under it until the next
# command are its exact output, standard error included. Each block is run in
# a fresh folder holding examples/, and what the commands print is compared
# with the block byte for byte.
#   doc_examples.sh PAYSLIP_CLI DOCS_DIR EXAMPLES_DIR SCRATCH_DIR
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 PAYSLIP_CLI DOCS_DIR EXAMPLES_DIR SCRATCH_DIR" >&2; exit 2; }
cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
docs="$2"
examples="$(cd "$3" && pwd)"
scratch="$4"

rm -rf "$scratch"
mkdir -p "$scratch/bin"
ln -s "$cli" "$scratch/bin/payslip-cli"
export PATH="$scratch/bin:$PATH" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

blocks=0
failed=0

# Runs the block held in $scratch/expected (it starts at line $2 of $1).
check_block() {
    local doc="$1" line="$2" run="$scratch/run" script="$scratch/block.sh"
    rm -rf "$run"
    mkdir -p "$run"
    ln -s "$examples" "$run/examples"
    {
        echo 'rc=0'
        while IFS= read -r text; do
            case "$text" in
                '$ '*)
                    # The command line as the block shows it, then the command with
                    # the exit status of the one before it (for "echo $?").
                    printf 'printf "%%s\\n" %q\n' "$text"
                    printf '(exit $rc); { %s\n} 2>&1; rc=$?\n' "${text#\$ }"
                    ;;
            esac
        done <"$scratch/expected"
    } >"$script"
    if ! head -n 1 "$scratch/expected" | grep -q '^\$ '; then
        echo "$doc:$line: a console block starts with its command line (\"\$ payslip-cli ...\")"
        failed=$((failed + 1))
        return
    fi
    (cd "$run" && bash "$script") </dev/null >"$scratch/actual" 2>&1 || true
    if cmp -s "$scratch/expected" "$scratch/actual"; then
        echo "ok    $doc:$line"
    else
        echo "FAIL  $doc:$line: the program's output differs from the block (- block, + program):"
        diff -u --label block --label program "$scratch/expected" "$scratch/actual" || true
        failed=$((failed + 1))
    fi
}

for doc in "$docs"/*.md; do
    name="docs/$(basename "$doc")"
    number=0
    start=0
    in_block=no
    while IFS= read -r text || [ -n "$text" ]; do
        number=$((number + 1))
        if [ "$in_block" = yes ]; then
            if [ "$text" = '```' ]; then
                in_block=no
                blocks=$((blocks + 1))
                check_block "$name" "$start"
            else
                printf '%s\n' "$text" >>"$scratch/expected"
            fi
        elif [ "$text" = '```console' ]; then
            in_block=yes
            start=$number
            : >"$scratch/expected"
        fi
    done <"$doc"
    if [ "$in_block" = yes ]; then
        echo "$name:$start: a console block is not closed"
        failed=$((failed + 1))
    fi
done

echo "docs.examples: $blocks blocks, $failed failed"
[ "$blocks" -gt 0 ] || { echo "no console block found in $docs"; exit 1; }
[ "$failed" -eq 0 ]
