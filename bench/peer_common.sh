# Shared by the scripts that time lexora-cli against sdcv (sourced; the caller sets $here to its
# own folder).

# peer_tools [BUILD_FOLDER]: sets $build and $cli (BUILD_FOLDER's lexora-cli, ../build by
# default); stops when it is missing, and ends the run with status 0 when sdcv is not installed.
peer_tools() {
  build=$(cd "${1:-$here/../build}" && pwd)
  cli="$build/bin/lexora-cli"
  [ -x "$cli" ] || { echo "no $cli: build lexora-cli first" >&2; exit 1; }
  command -v sdcv >/dev/null || { echo "sdcv is not installed: nothing to compare"; exit 0; }
}

# peer_scratch: a temporary folder, removed at the end, made the current one. HOME, the XDG
# folders and Lexora's registry point into it: neither program may see the user's settings or
# dictionaries.
peer_scratch() {
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  cd "$scratch"
  export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
  export XDG_CACHE_HOME="$scratch/home/.cache" XDG_DATA_HOME="$scratch/home/.local/share"
  export LEXORA_REGISTRY="$scratch/registry.db" LANG=C.UTF-8 LC_ALL=C.UTF-8
  unset STARDICT_DATA_DIR NO_COLOR
  mkdir -p "$HOME"
}
