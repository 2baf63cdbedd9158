#!/usr/bin/env bash
# Draws the client's pictures with ImageMagick: the built-in ones (compiled into
# the program) into resources/builtin, the replaceable ones (button faces and
# language flags, read from images/ beside the executable) into resources/images.
# Run it after changing the artwork and commit the results; the build does not
# need ImageMagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
builtin=$root/resources/builtin
images=$root/resources/images
mkdir -p "$builtin" "$images"

font=DejaVu-Sans-Bold
blue='#1f5fa8'
green='#2e8b57'
orange='#e08a1e'
gray='#8a8f96'

# Every built-in picture is drawn twice: name.png, and name@2x.png at twice the
# size for screens scaled by 2 (the program picks it there). The drawings use
# the 1x coordinates; -affine scales them.
at2x() { echo "${1%.png}@2x.png"; }

# A flat button face: rounded body with a lighter top half, on white.
button() { # out width height colour
    local w=$2 h=$3 r=$(( $3 / 3 )) s out
    for s in 1 2; do
        out=$1; [ "$s" = 2 ] && out=$(at2x "$1")
        convert -size "$((w * s))x$((h * s))" xc:white -affine "$s,0,0,$s,0,0" \
            -fill "$4" -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \
            -fill 'rgba(255,255,255,0.22)' -draw "roundrectangle 1,1 $((w - 2)),$((h / 2)) $r,$r" \
            "$out"
    done
}

# A 50x50 icon: a rounded tile of one colour with a white symbol drawn on it.
icon() { # out colour draw-commands...
    local out=$1 colour=$2 s
    shift 2
    for s in 1 2; do
        convert -size "$((50 * s))x$((50 * s))" xc:white -affine "$s,0,0,$s,0,0" \
            -fill "$colour" -draw 'roundrectangle 1,1 48,48 9,9' \
            -fill white -stroke white "$@" "$([ "$s" = 2 ] && at2x "$out" || echo "$out")"
    done
}

grayed() {
    convert "$1" -colorspace Gray -fill white -colorize 35% "$2"
    convert "$(at2x "$1")" -colorspace Gray -fill white -colorize 35% "$(at2x "$2")"
}

# Button faces: light text is drawn over them in black, so keep them pale.
button "$builtin/button1.png" 73 25 '#9cc3ea'
button "$builtin/button1_disable.png" 73 25 '#e6e9ed'
button "$builtin/button2.png" 73 25 '#c9d1db'
button "$builtin/largeButton1.png" 200 46 '#9cc3ea'
convert "$builtin/button1.png" -quality 95 "$images/button1.jpg"
convert "$builtin/button1_disable.png" -quality 95 "$images/button1_disable.jpg"
convert "$builtin/button2.png" -quality 95 "$images/button2.jpg"

# Account pictures.
icon "$builtin/deposit.png" "$green" -strokewidth 0 \
    -draw 'ellipse 25,37 13,4.5 0,360' -draw 'rectangle 12,29 38,37' \
    -fill "$green" -draw 'ellipse 25,29 13,4.5 0,360' -fill white -draw 'ellipse 25,28 13,4.5 0,360' \
    -draw 'rectangle 12,20 38,28' -fill "$green" -draw 'ellipse 25,20 13,4.5 0,360' \
    -fill white -draw 'ellipse 25,19 13,4.5 0,360' -draw 'rectangle 12,11 38,19' \
    -fill "$green" -draw 'ellipse 25,11 13,4.5 0,360' -fill white -draw 'ellipse 25,10.5 12,3.5 0,360'
grayed "$builtin/deposit.png" "$builtin/deposit_disable.png"
icon "$builtin/credit.png" "$blue" -strokewidth 0 \
    -draw 'roundrectangle 8,14 42,37 4,4' \
    -fill "$blue" -draw 'rectangle 8,19 42,24' -draw 'rectangle 12,30 24,32'
grayed "$builtin/credit.png" "$builtin/credit_disable.png"
icon "$builtin/allocation.png" "$orange" -strokewidth 0 \
    -draw 'circle 25,25 25,10' -fill "$orange" -draw 'path "M 25,25 L 25,10 A 15,15 0 0,1 40,25 Z"' \
    -fill white -draw 'path "M 27,23 L 27,9 A 15,15 0 0,1 41,23 Z"'

# Identification and printing pictures.
icon "$builtin/password.png" "$blue" -strokewidth 4 -fill none \
    -draw 'roundrectangle 17,10 33,30 8,8' -strokewidth 0 -fill white \
    -draw 'roundrectangle 12,21 38,40 3,3' -fill "$blue" -draw 'circle 25,29 25,26' \
    -draw 'rectangle 24,29 26,35'
icon "$builtin/UserID.png" "$blue" -strokewidth 0 \
    -draw 'circle 25,18 25,10' -draw 'ellipse 25,41 14,11 180,360'
icon "$builtin/WantToPrint.png" "$orange" -strokewidth 0 \
    -draw 'rectangle 15,9 35,19' -draw 'roundrectangle 8,18 42,34 3,3' -draw 'rectangle 15,28 35,45' \
    -fill "$orange" -font "$font" -pointsize 15 -draw "text 20,44 '?'"
icon "$builtin/PrintOK.png" "$green" -strokewidth 0 \
    -draw 'rectangle 15,9 35,19' -draw 'roundrectangle 8,18 42,34 3,3' -draw 'rectangle 15,30 35,42' \
    -fill none -stroke "$green" -strokewidth 3 -draw 'polyline 18,35 23,39 32,29'

# Application pictures: a printer on a transparent ground, drawn at 192 pixels
# and reduced. resources/pellora-vav.svg is the same drawing, for the icon theme.
appicon() { # out size colour
    local s=$2
    convert -size 192x192 xc:none -affine 4,0,0,4,0,0 -fill "$3" -stroke none \
        -draw 'rectangle 13,4 35,16' -draw 'roundrectangle 3,14 45,34 4,4' \
        -fill white -draw 'rectangle 12,28 36,44' -fill "$3" \
        -draw 'rectangle 15,32 33,33' -draw 'rectangle 15,37 29,38' \
        -fill none -stroke "$3" -strokewidth 2 -draw 'rectangle 12,28 36,44' \
        -resize "${s}x${s}" "PNG32:$1"
}
for s in 1 2; do
    name() { [ "$s" = 2 ] && at2x "$builtin/$1" || echo "$builtin/$1"; }
    appicon "$(name PrintClient.png)" $((16 * s)) "$blue"
    appicon "$(name PrintClientLarge.png)" $((48 * s)) "$blue"
    appicon "$(name PrintClientBW.png)" $((16 * s)) '#303030'
    convert -size $((50 * s))x$((50 * s)) xc:white \
        \( "$(name PrintClientLarge.png)" -background white -flatten \) \
        -gravity center -composite "$(name pelloraClientImage.png)"

    # Product logo.
    convert -size $((300 * s))x$((175 * s)) xc:white \
        \( "$(name PrintClientLarge.png)" -resize $((80 * s))x$((80 * s)) \) \
        -gravity north -geometry +0+$((12 * s)) -composite \
        -fill "$blue" -font "$font" -pointsize $((40 * s)) -gravity north -annotate +0+$((96 * s)) 'Pellora' \
        -fill "$gray" -font DejaVu-Sans -pointsize $((13 * s)) -gravity north \
        -annotate +0+$((146 * s)) 'Print Client' "$(name Pellora.png)"
done

# Language flags, 90x60 (the selector scales them to 45x30), named after the dialect.
flag() { convert -size 90x60 xc:white "${@:2}" -bordercolor '#c8c8c8' -border 1 -quality 95 "$images/$1.jpg"; }
tricolour_v() { flag "$1" -fill "$2" -draw 'rectangle 0,0 29,59' -fill "$3" -draw 'rectangle 30,0 59,59' \
    -fill "$4" -draw 'rectangle 60,0 89,59'; }
tricolour_v FR_FR '#0055a4' white '#ef4135'
flag DE_DE -fill black -draw 'rectangle 0,0 89,19' -fill '#dd0000' -draw 'rectangle 0,20 89,39' \
    -fill '#ffce00' -draw 'rectangle 0,40 89,59'
flag ES_ES -fill '#c60b1e' -draw 'rectangle 0,0 89,14' -fill '#ffc400' -draw 'rectangle 0,15 89,44' \
    -fill '#c60b1e' -draw 'rectangle 0,45 89,59'
cp "$images/ES_ES.jpg" "$images/ES_US.jpg"
us=(-fill '#b22234')
for i in 0 2 4 6 8 10 12; do
    y0=$(( i * 60 / 13 )); y1=$(( (i + 1) * 60 / 13 - 1 )); us+=(-draw "rectangle 0,$y0 89,$y1")
done
us+=(-fill '#3c3b6e' -draw 'rectangle 0,0 38,31' -fill white)
for y in 5 12 19 26; do for x in 5 13 21 29; do us+=(-draw "circle $x,$y $((x + 1)),$y"); done; done
flag EN_US "${us[@]}"
flag EN_GB -fill '#012169' -draw 'rectangle 0,0 89,59' \
    -stroke white -strokewidth 12 -draw 'line 0,0 89,59' -draw 'line 0,59 89,0' \
    -stroke '#c8102e' -strokewidth 4 -draw 'line 0,0 89,59' -draw 'line 0,59 89,0' \
    -stroke none -fill white -draw 'rectangle 35,0 54,59' -draw 'rectangle 0,20 89,39' \
    -fill '#c8102e' -draw 'rectangle 39,0 50,59' -draw 'rectangle 0,24 89,35'
flag FR_CA -fill '#d52b1e' -draw 'rectangle 0,0 21,59' -draw 'rectangle 68,0 89,59' \
    -draw 'polygon 45,12 49,20 53,18 51,30 57,24 59,28 65,27 62,33 64,35 54,42 55,46 46,45 46,52 44,52 44,45 35,46 36,42 26,35 28,33 25,27 31,28 33,24 39,30 37,18 41,20'
echo "pictures written to $builtin and $images"
