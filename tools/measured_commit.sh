# Sourced by the scripts that write figures into docs/. Figures stand for the code they
# were measured on, so they are written only from a tree that is exactly a commit, and
# name it.
#   commit=$(measured_commit "$root" NAME) || exit 1
measured_commit() {  # root name
    local changed
    if ! changed=$(git -C "$1" status --porcelain --untracked-files=no -- . ':!docs' 2>/dev/null); then
        echo "$2: $1 is not a git checkout: the figures must name the commit they measure" >&2
        return 1
    fi
    if [ -n "$changed" ]; then
        echo "$2: the tree has uncommitted changes; commit them first, so that the figures name the code they measure:" >&2
        printf '%s\n' "$changed" >&2
        return 1
    fi
    git -C "$1" log -1 --format='%h (%cs)'
}
