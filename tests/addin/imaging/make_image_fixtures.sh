#!/bin/sh
# Makes the image fixtures with ImageMagick (and the bitmap layouts it cannot
# write with make_bmp_variants.py), then dumps what ImageMagick reads from each
# file as the reference pixels: NAME.rgba (8 bits, top row first), NAME.rgba16
# for 16-bit files, NAME.cmyk for CMYK JPEGs, NAME-N.rgba per GIF frame.
# Usage: make_image_fixtures.sh CONVERT PYTHON OUT_DIR
set -eu
convert=$1
python=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
cd "$out"

# Sources: a colour picture with smooth areas and edges (odd sizes, so rows
# need padding), and the same with a varying alpha channel.
"$convert" -size 37x29 -seed 7 plasma:red-blue -fill black -draw 'rectangle 3,3 9,8' src_rgb.png
"$convert" src_rgb.png -alpha set -channel A -fx '0.55+0.45*sin(i/4+j/3)' +channel src_rgba.png
"$convert" src_rgb.png -colorspace gray src_gray.png

"$convert" src_gray.png -define png:color-type=0 -define png:bit-depth=8 png_gray8.png
"$convert" src_gray.png -define png:color-type=0 -define png:bit-depth=16 png_gray16.png
"$convert" src_gray.png -depth 4 -define png:color-type=0 -define png:bit-depth=4 png_gray4.png
"$convert" src_gray.png -threshold 50% -define png:color-type=0 -define png:bit-depth=1 png_gray1.png
"$convert" src_gray.png -fill black -draw 'rectangle 20,10 30,20' -transparent black \
    -define png:color-type=0 -define png:bit-depth=8 png_gray_trns.png
"$convert" src_rgb.png PNG24:png_rgb8.png
"$convert" src_rgb.png PNG48:png_rgb16.png
"$convert" src_rgb.png -transparent black -define png:color-type=2 png_rgb_trns.png
"$convert" src_rgb.png -colors 200 PNG8:png_pal8.png
"$convert" src_rgb.png -colors 100 -transparent black PNG8:png_pal_trns.png
"$convert" src_rgb.png -colors 2 -define png:bit-depth=1 PNG8:png_pal1.png
"$convert" src_rgba.png -colorspace gray -define png:color-type=4 png_ga16.png
"$convert" src_rgba.png PNG32:png_rgba8.png
"$convert" src_rgba.png PNG64:png_rgba16.png
"$convert" src_rgba.png -interlace PNG PNG32:png_interlaced.png

"$convert" src_rgb.png -quality 92 jpg_rgb.jpg
"$convert" src_gray.png -type Grayscale -quality 92 jpg_gray.jpg
"$convert" src_rgb.png -colorspace CMYK -quality 92 jpg_cmyk.jpg
"$convert" src_rgb.png -interlace Plane -quality 85 jpg_progressive.jpg

"$convert" src_rgb.png -colors 2 -type Palette BMP3:bmp_1.bmp
"$convert" src_rgb.png -colors 12 -type Palette BMP3:bmp_4.bmp
"$convert" src_rgb.png -colors 200 -type Palette -compress None BMP3:bmp_8.bmp
"$convert" src_rgb.png -colors 200 -type Palette -compress RLE BMP3:bmp_rle8.bmp
"$convert" src_rgb.png -colors 200 -type Palette BMP2:bmp_core8.bmp
"$convert" src_rgb.png -type TrueColor -define bmp:subtype=RGB565 BMP:bmp_565.bmp
"$convert" src_rgb.png -type TrueColor -define bmp:subtype=RGB555 BMP:bmp_555.bmp
"$convert" src_rgb.png -type TrueColor BMP3:bmp_24.bmp
"$convert" src_rgba.png -type TrueColorAlpha BMP:bmp_32a.bmp
"$convert" src_rgba.png -define bmp3:alpha=true BMP3:bmp_32rgb.bmp
"$python" "$here/make_bmp_variants.py" .

"$convert" src_rgb.png -colors 64 gif_plain.gif
"$convert" src_rgb.png -colors 64 -interlace GIF gif_interlaced.gif
"$convert" src_rgb.png -colors 64 -transparent black gif_transparent.gif
# Three frames of different sizes, places and delays; only the first has a
# transparent colour.
"$convert" src_rgb.png -colors 32 -transparent black -crop 20x15+0+0 +repage frame0.gif
"$convert" src_rgb.png -colors 32 -crop 17x14+20+15 +repage frame1.gif
"$convert" src_gray.png -colors 16 -crop 37x29+0+0 +repage frame2.gif
"$convert" -dispose None -delay 10 -page 37x29+0+0 frame0.gif -delay 25 -page 37x29+20+15 frame1.gif \
    -delay 0 -page 37x29+0+0 frame2.gif -loop 0 gif_anim.gif

for f in png_*.png jpg_*.jpg bmp_*.bmp gif_plain.gif gif_interlaced.gif gif_transparent.gif; do
    "$convert" "$f" -depth 8 "rgba:$f.rgba"
done
for f in png_gray16.png png_rgb16.png png_rgb_trns.png png_ga16.png png_rgba16.png; do
    "$convert" "$f" -depth 16 "rgba:$f.rgba16"
done
"$convert" jpg_cmyk.jpg -depth 8 "cmyk:jpg_cmyk.jpg.cmyk"
"$convert" gif_anim.gif +adjoin -depth 8 "rgba:gif_anim.gif-%d.rgba"
rm -f frame0.gif frame1.gif frame2.gif
