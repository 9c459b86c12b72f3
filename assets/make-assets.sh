#!/usr/bin/env bash
# Draws the installer's pictures and icons into assets/art/ with ImageMagick
# and the WenQuanYi Micro Hei font (Debian: imagemagick, fonts-wqy-microhei).
# The outputs are committed; the build embeds them and does not run this.
#
#   assets/make-assets.sh                      # redraw everything in assets/art/
#   assets/make-assets.sh --preview OUT.png    # and a mock-up of the window to look at
#
# Every shape is drawn at four times its size and scaled down, which gives
# clean anti-aliased edges at the small sizes the window shows.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

font=$(fc-list -f '%{index} %{file}\n' 'WenQuanYi Micro Hei' | awk '$1 == 0 { print $2; exit }')
if [ -z "$font" ]; then
  echo "make-assets: the font WenQuanYi Micro Hei is not installed (apt-get install fonts-wqy-microhei)" >&2
  exit 1
fi

out=art
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

readonly S=4                  # supersampling factor
readonly PANEL='#1683C4'      # the visible panel behind the install button and the logo
readonly COVERED='#75B8EE'    # the covered panels behind the close button and the second logo

# Baseline (not progressive), three colour components, no chroma subsampling
# (keeps thin white strokes on colour crisp), no metadata.
jpeg() {  # source.png target.jpg [quality]
  convert "$1" -strip -colorspace sRGB -type TrueColor -interlace none \
    -sampling-factor 1x1 -quality "${3:-90}" "$2"
}

# Integer pixel coordinate times the supersampling factor.
s() { echo $(($1 * S)); }

# A pill-shaped button face of 204 x 60 at (8, 7) on the panel colour, with a
# soft shadow, filled with a vertical gradient and labelled in white. The
# lowest rows stay panel-coloured: the progress bar lies over them.
#   button_face TOP BOTTOM LABEL OUT [glow]
button_face() {
  local top=$1 bottom=$2 label=$3 target=$4 glow=${5:-}
  local w=$(s 220) h=$(s 80) pw=$(s 204) ph=$(s 60) r=$(s 30)
  local halo=()
  if [ -n "$glow" ]; then
    # A light halo around the face marks the pointer being over it.
    halo=( \( -size ${w}x${h} xc:none -fill 'rgba(255,255,255,0.55)'
              -draw "roundrectangle $(s 5),$(s 4) $(s 214),$(s 70) $(s 33),$(s 33)"
              -blur 0x$(s 3) \) -composite )
  fi
  convert -size ${w}x${h} xc:"$PANEL" \
    \( -size ${w}x${h} xc:none -fill 'rgba(4,52,92,0.60)' \
       -draw "roundrectangle $(s 9),$(s 10) $(s 211),$(s 70) $r,$r" -blur 0x$(s 3) \) -composite \
    "${halo[@]}" \
    \( -size ${pw}x${ph} gradient:"$top-$bottom" \
       \( -size ${pw}x${ph} xc:black -fill white \
          -draw "roundrectangle 0,0 $((pw - 1)),$((ph - 1)) $r,$r" \) \
       -alpha off -compose CopyOpacity -composite \
       \( -size ${pw}x${ph} xc:none -fill none -stroke 'rgba(255,255,255,0.50)' -strokewidth $(s 1) \
          -draw "roundrectangle $(s 1),$(s 1) $((pw - S - 1)),$((ph - S - 1)) $((r - S)),$((r - S))" \
          \( -size ${pw}x${ph} gradient:'white-none' \) -compose DstIn -composite \) \
       -compose Over -composite \) \
    -compose Over -geometry +$(s 8)+$(s 7) -composite \
    -font "$font" -pointsize $(s 25) -gravity center \
    -fill 'rgba(140,60,0,0.40)' -annotate +0-$(s 1) "$label" \
    -fill white -stroke white -strokewidth $((S / 2)) -annotate +0-$(s 2) "$label" \
    -resize 220x80 "$target"
}

button_face '#FFB23E' '#FF7814' '立即安装' "$tmp/install-normal.png"
button_face '#FFC466' '#FF9330' '立即安装' "$tmp/install-hot.png" glow
jpeg "$tmp/install-normal.png" "$out/install-button-normal.jpg"
jpeg "$tmp/install-hot.png" "$out/install-button-hot.jpg"

# The completion picture: the same pill, a flat teal face with a lighter edge
# and 完成 in white, centred.
done_face() {  # OUT
  local w=$(s 220) h=$(s 80) r=$(s 30)
  convert -size ${w}x${h} xc:"$PANEL" \
    \( -size ${w}x${h} xc:none -fill 'rgba(4,52,92,0.60)' \
       -draw "roundrectangle $(s 9),$(s 10) $(s 211),$(s 70) $r,$r" -blur 0x$(s 3) \) -composite \
    -fill '#7EDDD2' -draw "roundrectangle $(s 8),$(s 7) $(($(s 212) - 1)),$(($(s 67) - 1)) $r,$r" \
    -fill '#13A396' -draw "roundrectangle $(s 10),$(s 9) $(($(s 210) - 1)),$(($(s 65) - 1)) $((r - 2 * S)),$((r - 2 * S))" \
    -font "$font" -pointsize $(s 26) -gravity center \
    -fill white -stroke white -strokewidth $((S / 2)) -annotate +0-$(s 2) '完成' \
    -resize 220x80 "$1"
}

done_face "$tmp/done.png"
jpeg "$tmp/done.png" "$out/done-button.jpg"

# The product mark: a night-blue rounded tile with a golden crescent and a
# star, on a transparent background. Drawn at each size it is used at.
mark() {  # SIZE OUT
  local n=$1 w=$(($1 * S))
  local r=$((w * 22 / 100))
  # The crescent: a disc with a smaller disc cut out of its upper right.
  local mx=$((w * 45 / 100)) my=$((w * 54 / 100)) mr=$((w * 29 / 100))
  local cx=$((w * 58 / 100)) cy=$((w * 43 / 100)) cr=$((w * 25 / 100))
  # The star: four long and four short points around (sx, sy).
  local sx=$((w * 71 / 100)) sy=$((w * 30 / 100)) sa=$((w * 10 / 100)) sb=$((w * 25 / 1000))
  convert -size ${w}x${w} gradient:'#4A5BDB-#1A2275' \
    \( -size ${w}x${w} xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((w - 1)) $r,$r" \) \
    -alpha off -compose CopyOpacity -composite \
    \( -size ${w}x${w} gradient:'#FFE28A-#FF9F2A' \
       \( -size ${w}x${w} xc:black -fill white -draw "circle $mx,$my $((mx + mr)),$my" \
          -fill black -draw "circle $cx,$cy $((cx + cr)),$cy" \) \
       -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    -fill white -draw "polygon $sx,$((sy - sa)) $((sx + sb)),$((sy - sb)) $((sx + sa)),$sy $((sx + sb)),$((sy + sb)) $sx,$((sy + sa)) $((sx - sb)),$((sy + sb)) $((sx - sa)),$sy $((sx - sb)),$((sy - sb))" \
    -resize ${n}x${n} "$2"
}

# The mark with its shadow and the product name under it, on a background.
#   mark_card WIDTH HEIGHT BACKGROUND MARK_SIZE MARK_TOP NAME_SIZE NAME_TOP NAME_COLOUR OUT [badge]
# All figures are in pixels of the picture as shown, OUT is drawn at S times.
mark_card() {
  local w=$(s $1) h=$(s $2) bg=$3 m=$(s $4) top=$(s $5) ps=$(s $6) nt=$(s $7) ink=$8 target=$9 badge=${10:-}
  local left=$(((w - m) / 2)) blur=$(s 6)
  mark "$m" "$tmp/card-mark.png"
  local extra=()
  if [ -n "$badge" ]; then
    # A green disc with a white tick at the tile's lower right: installed.
    local br=$((m * 17 / 100)) bx=$((left + m - m * 8 / 100)) by=$((top + m - m * 8 / 100))
    local t=$((br * 45 / 100))
    extra=( -fill white -draw "circle $bx,$by $((bx + br + S * 2)),$by"
            -fill '#22B35E' -draw "circle $bx,$by $((bx + br)),$by"
            -fill none -stroke white -strokewidth $((br * 28 / 100))
            -draw "stroke-linecap round stroke-linejoin round polyline $((bx - t)),$by $((bx - t / 4)),$((by + t * 7 / 10)) $((bx + t)),$((by - t * 6 / 10))"
            -stroke none )
  fi
  convert -size ${w}x${h} "$bg" \
    \( "$tmp/card-mark.png" -background 'rgba(3,40,80,0.65)' -shadow 100x$((blur / 2))+0+$(s 4) \) \
    -geometry +$((left - blur))+$((top - blur)) -compose Over -composite \
    "$tmp/card-mark.png" -geometry +$left+$top -composite \
    "${extra[@]}" \
    -font "$font" -pointsize $ps -fill "$ink" -stroke "$ink" -strokewidth $((S / 2)) \
    -gravity north -annotate +0+$nt 'Dormivet' "$target"
}

# The logo is shown stretched from 424 x 534 to 211 x 211: it is drawn as it
# should look at 211 x 211 and stretched the other way, so that it comes out
# undistorted on the window. Its edges are the panel's colour.
mark_card 211 211 radial-gradient:'#3FA3E0-#1683C4' 124 20 30 150 white "$tmp/logo-square.png"
convert "$tmp/logo-square.png" -resize '424x534!' "$tmp/logo.png"
jpeg "$tmp/logo.png" "$out/logo.jpg"

# The second logo, on the covered completion panel: the mark with a tick.
mark_card 250 256 radial-gradient:'#A4D2F6-#75B8EE' 132 34 30 184 '#0E4A7C' "$tmp/logo2-big.png" badge
convert "$tmp/logo2-big.png" -resize 250x256 "$tmp/logo2.png"
jpeg "$tmp/logo2.png" "$out/logo2.jpg"

# The close button of the covered panel: a thin white cross, on the panel's
# colour at rest, on red under the pointer and on a darker red while pressed.
close_face() {  # BACKGROUND OUT
  local w=$(s 27) h=$(s 22) c=$((S * 27 / 2)) m=$((S * 11)) a=$((S * 9 / 2))
  convert -size ${w}x${h} xc:"$1" -fill none -stroke white -strokewidth $((S * 13 / 10)) \
    -draw "line $((c - a)),$((m - a)) $((c + a)),$((m + a))" \
    -draw "line $((c - a)),$((m + a)) $((c + a)),$((m - a))" \
    -resize 27x22 "$2"
}

close_face "$COVERED" "$tmp/close-normal.png"
close_face '#E81123' "$tmp/close-hot.png"
close_face '#A50E1B' "$tmp/close-pressed.png"
# At 27 x 22 a few hundred bytes more buy a cross without ringing around it.
for state in normal hot pressed; do
  jpeg "$tmp/close-$state.png" "$out/close-button-$state.jpg" 97
done

# Icons: 32-bit images (alpha) of the mark, each drawn at its own size. The
# sizes from 64 pixels up are stored as PNG images (8-bit RGBA) inside the
# icon file, which Windows reads since Vista: as bitmaps they would make the
# program's icon ten times as large. The smaller ones stay bitmaps with their
# masks, as every reader of icons expects.
icon() {  # OUT SIZE...
  local target=$1 n images=()
  shift
  for n in "$@"; do
    mark "$n" "$tmp/icon-$n.png"
    if [ "$n" -ge 64 ]; then
      convert "$tmp/icon-$n.png" -strip -define png:compression-level=9 PNG32:"$tmp/icon-$n.image"
    else
      convert "$tmp/icon-$n.png" "$tmp/icon-$n.ico"
      # The one image of that file: its entry says where it lies.
      python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
size, offset = struct.unpack_from("<II", data, 6 + 8)
open(sys.argv[2], "wb").write(data[offset:offset + size])' "$tmp/icon-$n.ico" "$tmp/icon-$n.image"
    fi
    images+=("$n" "$tmp/icon-$n.image")
  done
  # The icon file: its header, one entry per image (a size of 256 is
  # written 0), then the images in the same order.
  python3 -c 'import struct, sys
target, pairs = sys.argv[1], sys.argv[2:]
images = [(int(n), open(path, "rb").read()) for n, path in zip(pairs[::2], pairs[1::2])]
head = struct.pack("<HHH", 0, 1, len(images))
offset = len(head) + 16 * len(images)
entries, blobs = b"", b""
for n, image in images:
    entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
    blobs += image
open(target, "wb").write(head + entries + blobs)' "$target" "${images[@]}"
}

icon "$out/installer.ico" 128 96 72 64 48 32 24 16
icon "$out/icon-48.ico" 48

# A rough mock-up of the window's face and the other pictures, for judging
# the artwork by eye (the real window is drawn by the program).
if [ "${1:-}" = --preview ]; then
  preview=${2:?usage: make-assets.sh --preview OUT.png}
  convert -size 250x400 xc:"$PANEL" \
    \( "$out/logo.jpg" -resize '211x211!' \) -geometry +12+36 -composite \
    "$out/install-button-normal.jpg" -geometry +14+255 -composite \
    -font "$font" -pointsize 12 -fill '#FFFF00' -stroke '#FFFF00' -strokewidth 0.4 -annotate +7+24 '安装程序' \
    -stroke none -fill white -annotate +230+24 '×' -annotate +7+360 '安装目录：' \
    -annotate +7+383 'D:\\Tavrinex\\Dormivet' \
    \( -size 6x400 xc:white \) \
    \( -size 250x400 xc:"$PANEL" \
       "$out/install-button-hot.jpg" -geometry +14+10 -composite \
       "$out/done-button.jpg" -geometry +14+100 -composite \
       \( "$out/close-button-normal.jpg" "$out/close-button-hot.jpg" "$out/close-button-pressed.jpg" \
          -bordercolor "$PANEL" -border 4 +append \) -geometry +14+190 -composite \
       \( "$out/icon-48.ico" -background "$PANEL" -flatten \) -geometry +150+190 -composite \
       \( "$out/logo2.jpg" -resize 50% \) -geometry +14+240 -composite \) \
    +append -filter point -resize 200% "$preview"
fi
