#!/usr/bin/env bash
# Draws the program's pictures (window backgrounds and picture buttons) into src/ui/artwork/
# and its application icon, in the hicolor sizes, into packaging/icons/.
# The pictures are committed, so a build never runs this; run it again after changing one.
# Needs ImageMagick's convert and the WenQuanYi Micro Hei font (fonts-wqy-microhei).
set -euo pipefail
cd "$(dirname "$0")/.."
out=src/ui/artwork
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font=WenQuanYi-Micro-Hei
ink='#2b3440'        # body text
soft='#6b7785'       # secondary text
panel_edge='#d3dce6'
link='#0054a6'

# text X Y SIZE COLOUR TEXT: draw options for a left-aligned text whose box starts at X,Y.
text() { printf '%s\n' -gravity NorthWest -font "$font" -pointsize "$3" -fill "$4" -stroke none -annotate "+$1+$2" "$5"; }
# Same, a touch heavier (the font has no bold face).
heavy() { printf '%s\n' -gravity NorthWest -font "$font" -pointsize "$3" -fill "$4" -stroke "$4" -strokewidth 0.4 -annotate "+$1+$2" "$5"; }
# rtext RIGHT Y SIZE COLOUR TEXT WIDTH: right-aligned so that the text ends at RIGHT in a picture WIDTH wide.
rtext() { printf '%s\n' -gravity NorthEast -font "$font" -pointsize "$3" -fill "$4" -stroke "$4" -strokewidth 0.3 -annotate "+$(($6 - $1))+$2" "$5"; }
# ctext Y SIZE COLOUR TEXT: centred across the picture.
ctext() { printf '%s\n' -gravity North -font "$font" -pointsize "$2" -fill "$3" -stroke none -annotate "+0+$1" "$4"; }

# A white panel with a soft shadow and a thin edge.
panel() { # X1 Y1 X2 Y2
  printf '%s\n' -stroke none -fill 'rgba(30,60,90,0.10)' -draw "roundrectangle $(($1 + 1)),$(($2 + 3)) $(($3 + 1)),$(($4 + 3)) 10,10" \
    -fill white -stroke "$panel_edge" -strokewidth 1 -draw "roundrectangle $1,$2 $3,$4 10,10"
}

# The top banner: deep blue gradient with a few light arcs and a small house mark.
banner() { # WIDTH HEIGHT FILE
  convert -size "$1x$2" gradient:'#173f73'-'#2f6fb8' \
    -fill none -stroke 'rgba(255,255,255,0.07)' -strokewidth 18 \
    -draw "circle $(($1 - 40)),-20 $(($1 + 90)),-20" -draw "circle $(($1 - 120)),$(($2 + 60)) $(($1 + 10)),$(($2 + 60))" \
    -stroke 'rgba(255,255,255,0.05)' -strokewidth 10 -draw "circle 20,$(($2 + 30)) 120,$(($2 + 30))" \
    -stroke none -fill 'rgba(255,255,255,0.92)' \
    -draw "polygon 34,54 62,30 90,54 84,54 84,82 40,82 40,54" \
    -fill '#f08c2e' -draw "rectangle 56,62 68,82" \
    -fill 'rgba(255,255,255,0.92)' -draw "rectangle 76,34 82,46" \
    "$3"
}

body_gradient() { convert -size "$1x$2" gradient:'#f5f8fb'-'#dfe7ef' "$3"; }

# ---- Main window background, 540 x 361 --------------------------------------------------
banner 540 140 "$tmp/main_banner.png"
body_gradient 540 361 "$tmp/main_body.png"
mapfile -t main_draw < <(
  panel 36 150 503 281
  heavy 108 26 30 white '装修报价评估工具'
  text 110 76 14 'rgba(255,255,255,0.88)' 'TarselCorvalen装饰 · 填写户型与面积，一键估算装修预算'
  text 110 102 12 'rgba(255,255,255,0.70)' '半包 / 全包 · 五种装修档次 · 明细一目了然'
  heavy 120 167 15 "$ink" '室'
  heavy 199 167 15 "$ink" '厅'
  heavy 280 167 15 "$ink" '厨'
  heavy 362 167 15 "$ink" '卫'
  heavy 440 167 15 "$ink" '阳台'
  rtext 139 206 15 "$ink" '实际面积：' 540
  heavy 220 206 15 "$ink" '平方米'
  rtext 388 206 15 "$ink" '装修类型：' 540
)
convert "$tmp/main_body.png" "$tmp/main_banner.png" -geometry +0+0 -composite \
  "${main_draw[@]}" \
  -stroke none -fill 'rgb(225,230,230)' -draw "roundrectangle 58,286 495,307 8,8" \
  -fill '#eef3f8' -stroke '#c9d6e3' -strokewidth 1 -draw "roundrectangle 407,243 494,266 6,6" \
  -gravity NorthWest -font "$font" -pointsize 12 -fill "$link" -stroke none -annotate +427+247 '在线咨询' \
  -font "$font" -pointsize 11 -fill "$soft" -gravity North -annotate +0+318 '声明：本工具估算结果仅供参考，实际价格以设计师上门量房后的报价为准' \
  -gravity NorthEast -font "$font" -pointsize 13 -fill "$link" -stroke "$link" -strokewidth 0.3 -annotate +34+338 '联系我们 ›' \
  -quality 92 "$out/main_background.jpg"

# ---- Room entry window background, 540 x 489 ----------------------------------------------
banner 540 112 "$tmp/room_banner.png"
body_gradient 540 489 "$tmp/room_body.png"
mapfile -t room_draw < <(
  panel 20 120 519 232
  panel 20 434 519 477
  heavy 108 18 26 white '详细报价'
  text 110 58 13 'rgba(255,255,255,0.88)' '逐个房间录入尺寸（毫米），生成逐项报价单'
  text 110 84 11 'rgba(255,255,255,0.68)' '声明：按录入尺寸估算，仅供参考，实际以设计师上门量房后的报价为准'
  rtext 100 132 13 "$ink" '房屋类型:' 540
  rtext 248 132 13 "$ink" '长宽高:' 540
  rtext 426 132 13 "$ink" '窗户长高:' 540
  rtext 101 168 13 "$ink" '门的类型:' 540
  rtext 245 168 13 "$ink" '墙面数:' 540
  rtext 430 168 13 "$ink" '门的扇数:' 540
  rtext 96 205 13 "$ink" '客餐铺:' 540
)
convert "$tmp/room_body.png" "$tmp/room_banner.png" -geometry +0+0 -composite \
  "${room_draw[@]}" \
  -stroke none -fill 'rgb(235,235,235)' -draw "roundrectangle 50,410 484,431 8,8" \
  -quality 92 "$out/room_entry_background.jpg"

# ---- Result window background, 540 x 334 --------------------------------------------------
convert -size 540x334 gradient:'#2a62a8'-'#173f73' \
  -stroke none -fill 'rgba(0,0,0,0.18)' -draw "roundrectangle 27,29 517,269 8,8" \
  -fill white -stroke '#9fb8d6' -strokewidth 2 -draw "roundrectangle 26,26 517,268 8,8" \
  -stroke none -fill white -draw "roundrectangle 26,266 517,313 8,8" \
  -gravity NorthWest -font "$font" -pointsize 12 -fill 'rgba(255,255,255,0.92)' -annotate +30+6 '快速预算结果' \
  -gravity NorthEast -font "$font" -pointsize 12 -fill 'rgba(255,255,255,0.92)' -annotate +24+6 '手机/邮箱: 报价可免费发到您的手机和邮箱' \
  -gravity NorthWest -font "$font" -pointsize 11 -fill '#ffd9a8' -annotate +30+316 '*短信仅限本市（Tarsel）手机号码接收' \
  -gravity NorthEast -font "$font" -pointsize 12 -fill white -stroke white -strokewidth 0.3 -annotate +24+315 '联系我们 ›' \
  -stroke none -gravity North -font "$font" -pointsize 10 -fill 'rgba(255,255,255,0.65)' -annotate +0+316 '估算仅供参考' \
  -quality 92 "$out/result_background.jpg"

# ---- Picture buttons ------------------------------------------------------------------------
# button NAME WIDTH HEIGHT TOP BOTTOM TEXT SIZE: a rounded gradient button on white, with a
# glossy top half; the hover state is brighter with a soft outer ring.
button() {
  local name=$1 w=$2 h=$3 top=$4 bottom=$5 caption=$6 size=$7 ring=$8
  local r=6
  convert -size "${w}x${h}" xc:white \
    \( -size "$((w - 2))x$((h - 2))" gradient:"$top"-"$bottom" \
       \( -size "$((w - 2))x$((h - 2))" xc:black -fill white -draw "roundrectangle 0,0 $((w - 3)),$((h - 3)) $r,$r" \) \
       -alpha off -compose CopyOpacity -composite \) -geometry +1+1 -compose Over -composite \
    -fill 'rgba(255,255,255,0.22)' -stroke none -draw "roundrectangle 2,2 $((w - 3)),$((h / 2)) $((r - 1)),$((r - 1))" \
    -fill none -stroke "$ring" -strokewidth 1 -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 $r,$r" \
    -gravity Center -font "$font" -pointsize "$size" -stroke none -fill 'rgba(0,0,0,0.30)' -annotate +0+1 "$caption" \
    -fill white -stroke white -strokewidth 0.35 -annotate +0+0 "$caption" \
    -quality 94 "$out/$name.jpg"
}
# name, size, normal gradient, hover gradient, text, font size
two_states() {
  button "$1" "$2" "$3" "$4" "$5" "$8" "$9" "${10}"
  button "$1_hover" "$2" "$3" "$6" "$7" "$8" "$9" "${11}"
}
orange=('#f6a04d' '#e2661b' '#ffb766' '#ef7a2a')
blue=('#4c8fd8' '#1f5da8' '#63a4ec' '#2c70c0')
teal=('#34b3a0' '#16806f' '#4cc9b5' '#1d957f')
grey=('#8b98a8' '#5d6b7c' '#a2aebd' '#6f7d8f')

two_states button_estimate 123 31 "${orange[@]}" '估算报价' 15 '#d9601a' '#ff9a3c'
two_states button_detailed 123 31 "${blue[@]}" '详细报价' 15 '#1d5aa3' '#3d86d9'
two_states button_half_package 123 31 "${teal[@]}" '半包装修' 15 '#157a6a' '#2fb39e'
two_states button_full_package 123 31 "${orange[@]}" '全包装修' 15 '#d9601a' '#ff9a3c'
two_states button_add 67 25 "${blue[@]}" '添加' 13 '#1d5aa3' '#3d86d9'
two_states button_modify 67 25 "${teal[@]}" '修改' 13 '#157a6a' '#2fb39e'
two_states button_delete 67 25 "${grey[@]}" '删除' 13 '#56636f' '#8b98a8'
two_states button_send 97 31 "${orange[@]}" '点击发送' 14 '#d9601a' '#ff9a3c'

# ---- Application icon ----------------------------------------------------------------------
# The banner's house mark on a rounded blue tile, with an orange yuan coin. Drawn once at
# 512 px and scaled down; the file name is the program's desktop id (DECOR_APP_ID in CMake).
app_id=com.tarselcorvalen.DecorEstimator
icons=packaging/icons/hicolor
convert -size 448x448 gradient:'#2f6fb8'-'#173f73' \
  \( -size 448x448 xc:black -fill white -draw "roundrectangle 0,0 447,447 92,92" \) \
  -alpha off -compose CopyOpacity -composite "$tmp/icon_tile.png"
convert -size 512x512 xc:none \
  -fill 'rgba(10,30,60,0.28)' -draw "roundrectangle 36,44 475,483 92,92" -blur 0x6 \
  "$tmp/icon_tile.png" -geometry +32+32 -compose Over -composite \
  -fill 'rgba(255,255,255,0.08)' -draw "roundrectangle 40,40 471,250 86,86" \
  -fill white -stroke none -draw "polygon 96,262 256,118 416,262 384,262 384,400 128,400 128,262" \
  -fill '#f08c2e' -draw "rectangle 224,300 288,400" \
  -fill white -draw "rectangle 340,136 372,200" \
  -fill '#f08c2e' -stroke white -strokewidth 8 -draw "circle 388,388 388,318" \
  -stroke white -strokewidth 2 -font "$font" -pointsize 96 -gravity NorthWest -annotate +358+326 '¥' \
  "$tmp/icon_512.png"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  # -strip and no date chunks: the same drawing gives the same bytes, so a rerun changes nothing.
  convert "$tmp/icon_512.png" -resize "${size}x${size}" -depth 8 -strip -define png:exclude-chunks=date,time \
    "$icons/${size}x${size}/apps/$app_id.png"
done

echo "make-artwork: $(ls "$out" | wc -l) pictures in $out, $(ls "$icons" | wc -l) icon sizes in $icons"
