#!/bin/sh
# quvo: starts Quvo for the user who runs it, in a program folder of their own.
#
# The program keeps the learner's settings (quvocf.cfg), textbook progress (xxjd.cfg) and
# learning record (xxjl.db) beside itself, in its program folder, which must be its current
# directory. The installed data is shared and read-only, so every user gets a program folder of
# their own, $XDG_DATA_HOME/quvo (~/.local/share/quvo): the installed data linked in, and book/
# a real folder of links to the installed textbooks, where a parent can put a textbook file of
# their own. Each start brings the links up to date with the installed version; a file that is
# not one of these links is the learner's and is never touched.
set -eu

self=$(readlink -f -- "$0")
prefix=$(dirname -- "$(dirname -- "$self")")
program="$prefix/lib/quvo/quvo"
data="$prefix/share/quvo"

fail() {
    echo "quvo: $*" >&2
    exit 1
}

[ -x "$program" ] || fail "the program $program is missing; reinstall Quvo"
[ -d "$data/book" ] || fail "the data folder $data is missing; reinstall Quvo"

base=${XDG_DATA_HOME:-}
case $base in
    /*) ;;
    *)  # unset, empty or relative: the default, as the XDG base directory rules say
        [ -n "${HOME:-}" ] || fail "HOME is not set, so there is no place for the program folder"
        base="$HOME/.local/share" ;;
esac
folder="$base/quvo"
mkdir -p -- "$folder/book" || fail "cannot make the program folder $folder"

# NAME becomes a link to TARGET, unless it is one already or a file or folder of the
# learner's own.
link() {
    if [ -L "$2" ] && [ "$(readlink -- "$2")" = "$1" ]; then
        return
    fi
    if [ -L "$2" ] || [ ! -e "$2" ]; then
        ln -sfn -- "$1" "$2"
    fi
}

# Links into an installed data folder whose file is gone: left by an older version.
prune() {
    for entry in "$1"/* "$1"/.[!.]*; do
        if [ -L "$entry" ] && [ ! -e "$entry" ]; then
            case $(readlink -- "$entry") in
                */share/quvo/*) rm -f -- "$entry" ;;
            esac
        fi
    done
}

for entry in "$data"/*; do
    name=${entry##*/}
    [ "$name" = book ] || link "$entry" "$folder/$name"
done
for entry in "$data"/book/*; do
    link "$entry" "$folder/book/${entry##*/}"
done
prune "$folder"
prune "$folder/book"

cd -- "$folder"
exec "$program" "$@"
