#!/usr/bin/env bash
# The demo-data builder writes the same bytes every time (here as in the build's own run
# of it, which wrote the data folder given as the third argument), every archive it writes
# reads back whole, and the archives hold every picture and sound the game's fixed loaders ask
# for (a missing fixed picture ends the game), spelled as they ask, at the sizes the game
# relies on.
set -euo pipefail
demodata="$1"
pack="$2"
built="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$demodata" "$work/a"
# Every file it writes, byte for byte (the build's folder may hold more: what runs of the
# game left there).
(cd "$work/a" && find . -type f -print0) | while IFS= read -r -d '' f; do
  cmp -- "$work/a/$f" "$built/$f" || { echo "not the same bytes: $f"; exit 1; }
done
for f in "$work"/a/*.vkp; do
  "$pack" list "$f" >/dev/null || { echo "unreadable archive $f"; exit 1; }
done
for d in Grafik Sound Video; do [ -d "$work/a/$d" ] || { echo "no $d folder"; exit 1; }; done
[ -s "$work/a/Sound/intro.ogg" ] || { echo "no menu music"; exit 1; }
# Read back with the game's own decoders: no picture the game cannot read or that shows
# nothing, no mate of another size, no sound in another format or silent.
"$demodata" --check "$work/a"

fail=0
# "size  name" per member, as harvo_pack lists them.
listing() { "$pack" list "$work/a/$1" | sed -e 's/^ *//' -e 's/  /\t/'; }
need() {  # need <archive> <name>...
  local archive="$1" names
  shift
  names="$(listing "$archive" | cut -f2)"
  for n in "$@"; do
    grep -qxF -- "$n" <<<"$names" || { echo "$archive: no $n"; fail=1; }
  done
}
# The byte size of a 24-bit BMP of w x h (rows padded to four bytes).
bmp_size() { echo $((54 + ($1 * 3 + 3) / 4 * 4 * $2)); }
sized() {  # sized <archive> <w> <h> <name>...
  local archive="$1" w="$2" h="$3" want
  shift 3
  want="$(bmp_size "$w" "$h")"
  for n in "$@"; do
    local got
    got="$(listing "$archive" | awk -F'\t' -v n="$n" '$2 == n { print $1 }')"
    [ "$got" = "$want" ] || { echo "$archive: $n is not ${w}x${h} (${got:-missing} bytes)"; fail=1; }
  done
}

# The standard pictures.
std=(Blur.bmp Blur3.bmp Blur2.bmp Glitzer.bmp A_KREIS2.bmp weiss.bmp Strich.bmp Balken.bmp BalkenE.bmp Wave.bmp
     Logo.bmp Noise.bmp A_Kreis3.bmp)
for n in 0 1 2 3; do std+=("feuer$n.bmp"); done
for n in 1 2 3 4 5 6 7; do std+=("Rauch$n.bmp"); done
need Standart.vkp "${std[@]}"

# The game pictures, in the order the loader asks for them.
spiel=(Ballschuss.bmp Ballschuss2.bmp Ballschuss3.bmp Ballschuss4.bmp)
for n in $(seq 0 13); do spiel+=("Partikel$n.bmp"); done
for a in 1 2 3; do for b in $(seq 0 7); do spiel+=("Force_0${a}000$b.bmp"); done; done
for n in $(seq 0 9); do spiel+=("VW1-$n.bmp" "N$n.bmp" "Leben$n.bmp"); done
for t in 0 1 2; do
  rows=1; [ "$t" = 2 ] && rows=3
  for c in 1 2 3 4 5; do for r in $(seq 1 $rows); do spiel+=("VESK$t$c$r.bmp"); done; done
done
for s in 0 1 2 3; do
  spiel+=("interface${s}_grund.bmp" "interface${s}_energy.bmp" "interface${s}_energyA.bmp" "interface${s}_s.bmp"
          "interface${s}_p.bmp")
  for i in 0 1; do spiel+=("interface${s}_beam$i.bmp" "interface${s}_beamA$i.bmp"); done
  [ "$s" != 3 ] && for i in 0 1 2; do spiel+=("interface${s}_spec$i.bmp"); done
done
for i in 0 1 2; do spiel+=("interface_extra$i.bmp" "interface3_extra$i.bmp"); done
for n in 0 1 2 3 4; do spiel+=("V${n}S.bmp" "Extra$n.bmp"); done
spiel+=(GSchuss1.bmp GSchuss2.bmp ExtraShild.bmp)
for i in 0 1 2 3 4; do for j in 0 1 2 3 4 5; do spiel+=("Extra$i$j.bmp" "P2Extra$i$j.bmp"); done; done
for i in $(seq 0 9); do for j in 0 1 2 3 4 5; do spiel+=("Pow$i$j.bmp"); done; done
spiel+=(AbprallerEinzeln.bmp AbprallerZusammen.bmp Bombe.bmp Rakete.bmp Rakete2.bmp Wave2.bmp fadenkreuz.bmp
        Hupe.bmp Blase.bmp Combo.bmp Blur2.bmp Regen1.bmp Schnee1.bmp Schnee2.bmp Schnee3.bmp)
for i in $(seq 1 32); do spiel+=("Frame$i.bmp"); done
need Spiel.vkp "${spiel[@]}"

# The game sounds.
need Sound.vkp "Normal2.wav" "Normal.wav" "green.wav" "v-Phyton red.wav" "v-Phyton blue.wav" "V-phy green.wav" \
  "V-phy violett.wav" "V-phy yellow.wav" "red.wav" "yellow.wav" "cyan.wav" "Violett.wav" "rocketlaunch.wav" \
  "Bomb.wav" "press q.wav" "item switch.wav" "press d.wav" "Extra.wav" "Speed.wav" "Checkpoint.wav" \
  "Explosion.wav" "Explosion1.wav" "Explosion2.wav" "ExplosionVESK.wav" "Charge1.wav" "Charge2.wav" \
  "Beam1.wav" "Beam2.wav" "Hit.wav" "Pause.wav" "speech.wav" "spalt.wav" "Nova.wav" "NovaSchuss.wav" \
  "Hupe.wav" "force_on.wav" "force_off.wav" "water touch.wav" "newborn1.wav" "rain.wav" "Thunder.wav" \
  "Liveup.wav" "dude.wav" "PlingDing.wav" "EndgegnerW1.wav" "EndgegnerW2.wav" "EndgegnerW3.wav" \
  "EndgegnerW4.wav" "EndgegnerW5.wav" "EndgegnerW6.wav" "EndgegnerW7.wav"

# Sizes the game relies on: the magnifier's 256 x 256 texture; the fade texture that
# holds the screen once its last column and row are cut off; the noise windows; the lens
# mask copied over the whole small blur texture; the weather tiles laid in a 256 grid;
# the frames placed by their corner (ships 64, pods 32, satellite 64, shots 16).
sized Standart.vkp 256 256 Blur2.bmp Noise.bmp
sized Standart.vkp 801 601 Blur3.bmp
sized Standart.vkp 64 64 Blur.bmp A_Kreis3.bmp
sized Spiel.vkp 256 256 Blur2.bmp Regen1.bmp Schnee1.bmp Schnee2.bmp Schnee3.bmp
ships=()
for c in 1 2 3 4 5; do ships+=("VESK0${c}1.bmp" "VESK1${c}1.bmp" "VESK2${c}3.bmp"); done
sized Spiel.vkp 64 64 "${ships[@]}" Force_010000.bmp Force_030007.bmp
sized Spiel.vkp 32 32 Partikel0.bmp Partikel13.bmp VW1-0.bmp Bombe.bmp
sized Spiel.vkp 16 16 Ballschuss.bmp Ballschuss4.bmp GSchuss1.bmp GSchuss2.bmp

[ "$fail" = 0 ] || exit 1
echo ok
