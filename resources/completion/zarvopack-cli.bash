# bash completion for zarvopack-cli

_zarvopack_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="plan run show export verify help --help --version"
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    case $prev in
        --format)
            COMPREPLY=($(compgen -W "links lists iso catalog" -- "$cur"))
            return
            ;;
        --method)
            COMPREPLY=($(compgen -W "fewest sequential" -- "$cur"))
            return
            ;;
        --fs-allowance)
            COMPREPLY=($(compgen -W "iso9660 none" -- "$cur"))
            return
            ;;
        --to)
            _filedir -d
            return
            ;;
        --sizes)
            _filedir
            return
            ;;
        --save)
            _filedir mtb
            return
            ;;
        --media-size | --tolerance | --media-count | --max-items | --min-items | \
            --medium-time-limit | --medium)
            return
            ;;
    esac

    local run_options="--media-size --tolerance --media-count --max-items --min-items
        --method --fast --no-fast --medium-time-limit --fs-allowance --force
        --allow-unplaced --json --verbose --quiet"
    local options
    case ${words[1]} in
        plan) options="$run_options --group-folders --sizes --save" ;;
        run) options="$run_options --after-run" ;;
        show) options="--json --verbose --force" ;;
        export) options="--format --to --force --copy --allow-unplaced --quiet" ;;
        verify) options="--medium --quiet" ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case ${words[1]} in
        plan | verify) _filedir ;;
        *) _filedir mtb ;;
    esac
} &&
    complete -F _zarvopack_cli zarvopack-cli
