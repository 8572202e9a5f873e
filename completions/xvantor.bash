# SPDX-License-Identifier: MIT
# bash completion for xvantor: its options, and file names everywhere else.

_xvantor() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} i
    COMPREPLY=()
    case $prev in
    --depfile)
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --support-dir)
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    esac
    # After "--" every word is a name.
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == -- ]]; then
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
        fi
    done
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '-c -j -# -a --depfile --quiet --line-directives
            --support-dir --help --version --' -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -o filenames -F _xvantor xvantor
