#!/bin/sh
# Runs every example of a document and compares what it prints with what the document shows.
# An example is a command line "$ command" in a code block (a block indented by four or
# more blanks in Markdown, .EX to .EE in a manual page), followed by the lines it prints,
# standard error included. The commands of one document run in order in one shell, in a scratch folder, with
# the fexpr under test first on PATH; HOME is a scratch folder too.
# Usage: check_examples.sh FEXPR DOCUMENT [drive]
#   With "drive", FEXPR_DRIVE_C is set to a scratch folder; otherwise it is unset, so that
#   fexpr uses its default folder under the scratch HOME.
set -u
fexpr=${1:?usage: check_examples.sh FEXPR DOCUMENT [drive]}
document=${2:?usage: check_examples.sh FEXPR DOCUMENT [drive]}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin" "$scratch/home" "$scratch/work"
ln -s "$(cd "$(dirname "$fexpr")" && pwd)/$(basename "$fexpr")" "$scratch/bin/fexpr"

# The examples, as "$ command" lines each followed by its output lines.
case $document in
*.md)
    # Also the table rows whose last two cells are `fexpr ...` and its output (a row that
    # abbreviates its output with "…" shows an example the tour shows whole).
    # A code block may be indented further inside a list item.
    awk 'match($0, /^    +\$ /) { inside = 1; indent = RLENGTH - 2 }
         inside && substr($0, 1, indent) ~ /^ *$/ && length($0) > indent {
             print substr($0, indent + 1); next
         }
         { inside = 0 }
         /\| `fexpr [^`]*` \| `[^`…]*` \|$/ {
             cells = split($0, cell, / \| /)
             command = cell[cells - 1]; output = cell[cells]
             gsub(/`/, "", command); gsub(/`|  *\|$/, "", output)
             print "$ " command; print output
         }' "$document"
    ;;
*)
    # Manual-page text to plain text: the escapes these examples use.
    awk '/^\.EE/ { inside = 0 }
         inside && /^\$ / { started = 1 }
         inside && started { print }
         /^\.EX/ { inside = 1; started = 0 }' "$document" |
        sed -e 's/\\(ha/^/g' -e "s/\\\\(aq/'/g" -e 's/\\(dq/"/g' -e 's/\\-/-/g' \
            -e 's/\\&//g' -e 's/\\e/\\/g' -e 's/\\(rs/\\/g'
    ;;
esac >"$scratch/expected"
if ! grep -q '^\$ ' "$scratch/expected"; then
    echo "no examples found in $document"
    exit 1
fi

# Each command runs with eval in the one shell, so that "$?" in an example sees the status
# of the example before it; carriage returns (fexpr frames its math error lines with them)
# are dropped.
grep '^\$ ' "$scratch/expected" | cut -c 3- >"$scratch/commands"
(
    cd "$scratch/work" || exit 1
    export HOME="$scratch/home" PATH="$scratch/bin:$PATH"
    unset FEXPR_DRIVE_C XDG_STATE_HOME
    [ "${3:-}" = drive ] && export FEXPR_DRIVE_C="$scratch/drive_c"
    last=0
    while IFS= read -r command; do
        printf '$ %s\n' "$command"
        (exit $last)
        eval "$command" </dev/null 2>&1
        last=$?
    done <"$scratch/commands"
) | tr -d '\r' >"$scratch/actual"

if ! diff -u "$scratch/expected" "$scratch/actual"; then
    echo "the examples of $document print otherwise than it shows (- shown, + printed)"
    exit 1
fi
echo "$(grep -c '^\$ ' "$scratch/expected") examples of $document print as shown"
