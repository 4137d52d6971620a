# Runs command lines through zsh's own completion system and prints, for each line, the
# candidates that the completion of fexpr offers, sorted, on one line. An interactive zsh in
# a pseudo-terminal (zpty) loads the completions with compinit; a wrapper around compadd
# writes down every candidate that the completion system keeps for the word, and a key
# bound to a widget completes the line typed before it. One shell serves every line.
# Usage: zsh -f zsh_candidates.zsh COMPLETIONS_FOLDER LINE...   (the cursor at each end)
zmodload zsh/zpty || exit 1
folder=$1
shift
scratch=$(mktemp -d) || exit 1
hits=$scratch/hits
finished=$scratch/finished

zpty shell zsh -f -i
# Emacs keys (Ctrl-U empties the line); no listing of the candidates, which could stop to
# ask whether to show them all.
zpty -w shell 'PS1="" RPS1=""; bindkey -e; unsetopt auto_list auto_menu list_beep beep'
zpty -w shell "fpath=(${(q)folder} \$fpath); autoload -Uz compinit; compinit -u -D"
# Calls that only gather matches into an array (-O, -A, -D) are the completion system's own.
zpty -w shell 'compadd() {
    if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "$@"; return; fi
    local -a kept
    builtin compadd -A kept "$@"
    (( $#kept )) && print -rl -- $kept >>'"${(q)hits}"'
    builtin compadd "$@"
}'
zpty -w shell 'complete_for_test() { : >'"${(q)hits}"'; zle complete-word; : >'"${(q)finished}"'; }'
zpty -w shell 'zle -N complete_for_test; bindkey "^T" complete_for_test'

failed=0
for line in "$@"; do
    rm -f $finished
    zpty -w -n shell "$line"$'\x14'
    for attempt in {1..200}; do
        [[ -e $finished ]] && break
        sleep 0.02
    done
    if [[ ! -e $finished ]]; then
        print -u2 "zsh did not complete: $line"
        failed=1
        break
    fi
    print -r -- ${(j: :)${(ou)${(f)"$(<$hits)"}}}
    zpty -w -n shell $'\x15'
done
zpty -d shell
rm -rf $scratch
exit $failed
