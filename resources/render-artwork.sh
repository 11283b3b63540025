#!/usr/bin/env bash
# Regenerates every PNG under resources/app/ from the SVG beside it. The PNGs are committed and
# compiled in as ":/app/...", so building never needs this; run it after editing an SVG.
# Needs rsvg-convert (Debian: librsvg2-bin), a developer tool only, not a build dependency.
set -euo pipefail

cd "$(dirname "$0")/app"
if ! command -v rsvg-convert >/dev/null; then
    echo "render-artwork.sh: rsvg-convert not found; apt-get install librsvg2-bin" >&2
    exit 1
fi

# Hover and press looks of the window buttons.
readonly dark_red='#800000'

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# render SVG PNG [COLOUR [SIZE]]
# The button sources draw in currentColor, so one SVG yields every state: COLOUR overrides
# its 'color'. Without SIZE the SVG's own pixel size is kept, which pixel art relies on.
render() {
    local svg=$1 png=$2 colour=${3:-} size=${4:-}
    local args=()
    if [[ -n $colour ]]; then
        printf 'svg { color: %s; }\n' "$colour" >"$scratch/colour.css"
        args+=(--stylesheet "$scratch/colour.css")
    fi
    if [[ -n $size ]]; then
        args+=(--width "$size" --height "$size")
    fi
    rsvg-convert "${args[@]}" --format png --output "$png" "$svg"
    echo "$png"
}

render buttons/exit.svg buttons/exit.png
render buttons/exit.svg buttons/exit_selected.png "$dark_red"
render buttons/exit.svg buttons/exit_pressed.png "$dark_red"
render buttons/options.svg buttons/options.png
render buttons/options.svg buttons/options_selected.png "$dark_red"
render buttons/options.svg buttons/options_pressed.png "$dark_red"
render buttons/cursor.svg buttons/cursor.png
render buttons/check_off.svg buttons/check_off.png
render buttons/check_on.svg buttons/check_on.png
render buttons/door_closed.svg buttons/door_closed.png
render buttons/door_open.svg buttons/door_open.png

# The large drawing blurs at 16 pixels, so that size has its own pixel-tuned source.
render icon/kelvo-16.svg icon/kelvo-16.png
for size in 32 48 64 128 256; do
    render icon/kelvo.svg "icon/kelvo-$size.png" "" "$size"
done
