# bash completion for zarvik-convert. The installed-tree test fails when
# 'zarvik-convert --help' names an option missing from the list below.

_zarvik_convert() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --cue)
            COMPREPLY=($(compgen -W 'rgb uti red green blue yellow magenta cyan luminance saturation' -- "$cur"))
            return ;;
        --blur)
            COMPREPLY=($(compgen -W 'none smere blur mean median max' -- "$cur"))
            return ;;
        --lens)
            COMPREPLY=($(compgen -W 'red-blue blue-red' -- "$cur"))
            return ;;
        --frame)
            COMPREPLY=($(compgen -W 'sides full' -- "$cur"))
            return ;;
        --frame-color)
            COMPREPLY=($(compgen -W 'black white' -- "$cur"))
            return ;;
        --display-bpp)
            COMPREPLY=($(compgen -W '8 15 16 24 32' -- "$cur"))
            return ;;
        --format)
            COMPREPLY=($(compgen -W 'bmp png jpg jpeg tif tiff webp' -- "$cur"))
            return ;;
        --output-dir)
            _filedir -d
            return ;;
        --depth-map | --second-view)
            _filedir
            return ;;
        --depth-cue | --cue-color | --levels)
            # Numbers: nothing sensible to offer.
            return ;;
    esac
    # --warp and --added-depth take their optional number only after '='.
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--output-dir --format --depth-map --second-view
            --cue --depth-cue --cue-color --blur --warp --warp= --no-warp --levels
            --added-depth --added-depth= --no-added-depth --lens --frame --no-frame
            --frame-color --display-bpp --saved-settings --help --version' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
}
complete -F _zarvik_convert zarvik-convert
