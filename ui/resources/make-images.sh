#!/usr/bin/env bash
# Remakes the setup dialog's images from drawing commands, so they can be changed and rebuilt:
#   logo.bmp          64 x 64, 24 bits: the product logo beside the version caption
#   menu_picture.bmp  307 x 175, 16 colours (4 bits per pixel): the end of AutoCAD's classic
#                     menu bar with the plug-in's menu opened, shown when the setup is finished
#   setup.ico         48, 32 and 16 pixels: the program's icon
# Needs ImageMagick's convert and the CJK font of fonts-wqy-zenhei.
#   ui/resources/make-images.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
[ -r "$font" ] || { echo "make-images: $font is missing (apt-get install fonts-wqy-zenhei)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---------------------------------------------------------------------------------------------
# The logo: a printer with a stack of sheets, the front one marked with a "Z". Drawn four times
# larger and scaled down, which smooths the edges. The BMP sits on the dialog's light green, so
# it blends into the window; the icon keeps a transparent background.

draw_logo() {  # background output.png
  convert -size 256x256 "xc:$1" \
    -stroke '#5A6A5E' -strokewidth 4 -fill '#F4F4EE' \
    -draw 'roundrectangle 104,8 212,118 6,6' \
    -draw 'roundrectangle 88,20 196,130 6,6' \
    -fill white -draw 'roundrectangle 72,32 180,142 6,6' \
    -stroke none -fill '#E8731C' \
    -draw 'polygon 94,42 160,42 160,56 118,96 160,96 160,110 92,110 92,96 134,56 94,56' \
    -stroke '#083820' -strokewidth 4 -fill '#1B7A48' \
    -draw 'roundrectangle 20,120 236,206 18,18' \
    -stroke none -fill '#2E9A5E' -draw 'roundrectangle 26,126 230,146 10,10' \
    -fill '#083820' -draw 'rectangle 50,160 206,170' \
    -fill '#9CF06A' -draw 'circle 208,136 208,142' \
    -stroke '#5A6A5E' -strokewidth 4 -fill white \
    -draw 'polygon 62,166 194,166 200,248 56,248' \
    -stroke '#9AA69C' -strokewidth 5 \
    -draw 'line 78,194 176,194' -draw 'line 78,212 176,212' -draw 'line 78,230 148,230' \
    "$2"
}

draw_logo '#AAD296' "$work/logo-large.png"
convert "$work/logo-large.png" -filter Lanczos -resize 64x64 -type TrueColor \
  -define bmp:format=bmp3 "BMP3:$here/logo.bmp"

# At 16 pixels the stack and the text lines blur into noise: the small icon is one sheet with a
# heavier "Z" above the printer.
draw_small_logo() {  # output.png
  convert -size 256x256 xc:none \
    -stroke '#5A6A5E' -strokewidth 12 -fill white -draw 'rectangle 56,10 200,150' \
    -stroke none -fill '#E8731C' \
    -draw 'polygon 76,26 182,26 182,52 118,104 182,104 182,130 72,130 72,104 138,52 76,52' \
    -stroke '#083820' -strokewidth 12 -fill '#1B7A48' -draw 'roundrectangle 8,132 248,226 24,24' \
    -stroke '#5A6A5E' -strokewidth 12 -fill white -draw 'rectangle 56,186 200,250' \
    "$1"
}

draw_logo none "$work/icon-large.png"
draw_small_logo "$work/icon-small.png"
convert "$work/icon-large.png" -filter Lanczos -resize 48x48 "$work/icon48.png"
convert "$work/icon-large.png" -filter Lanczos -resize 32x32 "$work/icon32.png"
convert "$work/icon-small.png" -filter Lanczos -resize 16x16 "$work/icon16.png"
convert "$work/icon48.png" "$work/icon32.png" "$work/icon16.png" "$here/setup.ico"

# ---------------------------------------------------------------------------------------------
# The menu picture, in the Windows standard colour scheme: 3D face silver, shadows grey and
# black, highlight navy. All of it lies in the 16 VGA colours, which are also the picture's
# palette. Texts are drawn the way classic Windows draws its 9 pt menu font: one colour, no
# smoothing (the font is rendered smooth, then cut at a threshold, which keeps the thin strokes).

vga=(black maroon green olive navy purple teal silver gray red lime yellow blue fuchsia aqua white)
palette=()
for colour in "${vga[@]}"; do palette+=("xc:$colour"); done
convert "${palette[@]}" +append "$work/palette.png"

width=307 height=175
bar_height=19
item_height=18
separator_height=9

# texts.txt lines: colour x baseline text  (filled in while the picture's parts are laid out)
texts=$work/texts.txt
: >"$texts"
text() { printf '%s %s %s %s\n' "$1" "$2" "$3" "$4" >>"$texts"; }

draw=()
# The drawing area of AutoCAD below the menu bar: black model space with a drawing frame.
draw+=(-fill black -draw "rectangle 0,$bar_height $((width - 1)),$((height - 1))")
draw+=(-fill none -stroke white -draw 'rectangle 6,28 146,171' -draw 'rectangle 12,32 142,167')
draw+=(-stroke white -draw 'rectangle 96,148 142,167' -draw 'line 96,154 142,154'
  -draw 'line 96,160 142,160' -draw 'line 114,148 114,167')
draw+=(-stroke yellow -draw 'rectangle 24,52 86,120' -draw 'line 24,86 86,86'
  -draw 'line 55,52 55,120')
draw+=(-stroke aqua -draw 'circle 55,86 55,72' -draw 'line 96,60 132,60' -draw 'line 96,60 96,136'
  -draw 'line 96,136 132,136')
draw+=(-stroke lime -draw 'line 20,140 88,140' -draw 'line 20,136 20,144' -draw 'line 88,136 88,144')
draw+=(-stroke none)

# The menu bar: silver, with the end of AutoCAD's own menus cut by the picture's left edge.
draw+=(-fill silver -draw "rectangle 0,0 $((width - 1)),$((bar_height - 1))")
draw+=(-fill white -draw "line 0,0 $((width - 1)),0")
draw+=(-fill gray -draw "line 0,$((bar_height - 1)) $((width - 1)),$((bar_height - 1))")
x=-13
for item in '修改(M)' '窗口(W)' '帮助(H)'; do
  advance=$(convert -font "$font" -pointsize 12 label:"$item" -format %w info:)
  text black $((x + 6)) 14 "$item"
  x=$((x + advance + 12))
done
menu_x=$x
menu_title='Zelvar批打印'
advance=$(convert -font "$font" -pointsize 12 label:"$menu_title" -format %w info:)
menu_title_right=$((menu_x + advance + 11))
# The opened menu's title is pressed in: shadow above and left, highlight below and right.
draw+=(-fill gray -draw "line $menu_x,1 $menu_title_right,1" -draw "line $menu_x,1 $menu_x,$((bar_height - 2))")
draw+=(-fill white -draw "line $menu_x,$((bar_height - 2)) $menu_title_right,$((bar_height - 2))"
  -draw "line $menu_title_right,1 $menu_title_right,$((bar_height - 2))")
text black $((menu_x + 7)) 15 "$menu_title"

# The drop-down menu: a raised 3D frame, two pixels each side, under the pressed title.
items=('批量打印...' '打印设置...' '页面设置管理...' - 'PDF批量输出...' '图框识别设置...' - '帮助' '关于Zelvar批打印软件')
menu_w=154
menu_h=6
for item in "${items[@]}"; do
  if [ "$item" = - ]; then menu_h=$((menu_h + separator_height)); else menu_h=$((menu_h + item_height)); fi
done
left=$menu_x top=$((bar_height - 1))
right=$((left + menu_w - 1)) bottom=$((top + menu_h - 1))
draw+=(-fill silver -draw "rectangle $left,$top $right,$bottom")
draw+=(-fill silver -draw "line $left,$top $right,$top" -draw "line $left,$top $left,$bottom")
draw+=(-fill white -draw "line $((left + 1)),$((top + 1)) $((right - 1)),$((top + 1))"
  -draw "line $((left + 1)),$((top + 1)) $((left + 1)),$((bottom - 1))")
draw+=(-fill gray -draw "line $((left + 1)),$((bottom - 1)) $((right - 1)),$((bottom - 1))"
  -draw "line $((right - 1)),$((top + 1)) $((right - 1)),$((bottom - 1))")
draw+=(-fill black -draw "line $left,$bottom $right,$bottom" -draw "line $right,$top $right,$bottom")

y=$((top + 3))
hovered=0
for item in "${items[@]}"; do
  if [ "$item" = - ]; then
    middle=$((y + separator_height / 2))
    draw+=(-fill gray -draw "line $((left + 3)),$((middle - 1)) $((right - 3)),$((middle - 1))")
    draw+=(-fill white -draw "line $((left + 3)),$middle $((right - 3)),$middle")
    y=$((y + separator_height))
    continue
  fi
  colour=black
  if [ $hovered = 0 ]; then
    # The pointer rests on the first item, so it is highlighted.
    draw+=(-fill navy -draw "rectangle $((left + 3)),$y $((right - 3)),$((y + item_height - 1))")
    colour=white
    hovered=1
    pointer_y=$((y + 6))
  fi
  text "$colour" $((left + 19)) $((y + 13)) "$item"
  y=$((y + item_height))
done

# The mouse pointer on the highlighted item: the standard arrow, white with a black edge.
px=$((left + 104)) py=$pointer_y
arrow="$px,$py $px,$((py + 15)) $((px + 4)),$((py + 11)) $((px + 7)),$((py + 17)) $((px + 9)),$((py + 16)) $((px + 6)),$((py + 10)) $((px + 11)),$((py + 10))"
draw+=(-fill white -stroke black -strokewidth 1 -draw "polygon $arrow" -stroke none)

convert -size ${width}x${height} xc:black +antialias "${draw[@]}" "$work/menu-base.png"

# Each text on a layer of its own: drawn smooth, then its coverage cut at 40 %.
layers=()
n=0
while read -r colour tx ty label; do
  n=$((n + 1))
  convert -size ${width}x${height} xc:none -font "$font" -pointsize 12 -fill "$colour" \
    -annotate "$(printf '%+d%+d' "$tx" "$ty")" "$label" -channel A -threshold 40% +channel "$work/text$n.png"
  layers+=("$work/text$n.png" -composite)
done <"$texts"

convert "$work/menu-base.png" "${layers[@]}" -alpha off +dither -remap "$work/palette.png" \
  -type Palette -define bmp:format=bmp3 "BMP3:$work/menu_picture.bmp"
# Sixteen palette entries exactly, so the file is 4 bits per pixel whatever colours are used.
python3 - "$work/menu_picture.bmp" "$here/menu_picture.bmp" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
bits, = struct.unpack_from('<H', data, 28)
colours, = struct.unpack_from('<I', data, 46)
if bits != 4 or colours not in (0, 16):
    sys.exit(f"make-images: menu picture has {bits} bits per pixel and {colours} colours")
open(sys.argv[2], 'wb').write(data)
EOF
echo "make-images: wrote logo.bmp, menu_picture.bmp and setup.ico in $here"
