# Runs the zsh completion of fexpr for one command line and prints its candidates, one a line.
# The completion runs as a plain function, outside the line editor: words, CURRENT and PREFIX
# are set as the completion system sets them, and compadd, _describe and _files are stand-ins
# that keep what starts with PREFIX, as the completion system does.
# Usage: zsh -f zsh_candidates.zsh COMPLETION LINE   (LINE with the cursor at its end)
completion=$1
line=$2
typeset -a words offered
words=(${(z)line})
[[ -z $line || $line == *[[:space:]] ]] && words+=('')
CURRENT=$#words
PREFIX=$words[CURRENT]

# compadd [-Q] [--] CANDIDATE...: keeps the candidates that begin with PREFIX.
compadd() {
    while [[ $1 == -* && $1 != -- ]]; do shift; done
    [[ $1 == -- ]] && shift
    local candidate
    for candidate in "$@"; do
        [[ ${candidate[1,$#PREFIX]} == "$PREFIX" ]] && offered+=("$candidate")
    done
}
# _describe [-t TAG] DESCRIPTION ARRAY: the names of ARRAY's NAME:DESCRIPTION items.
_describe() {
    while [[ $1 == -* ]]; do
        [[ $1 == -t ]] && shift
        shift
    done
    local item
    for item in "${(@P)2}"; do compadd -- "${item%%:*}"; done
}
# _files: the names in the current folder.
_files() {
    compadd -- *(N)
}

functions[_fexpr]=$(<"$completion")
_fexpr
print -rl -- $offered
