#!/usr/bin/env bash
# Generates the station server's demo media into the folder given as the
# first argument. Each file becomes a stream mount named after it without
# its extension (/streams/kestrel-mp3 and so on):
#
#   kestrel-mp3.mp3     spoken ident and a plucked melody, MP3 128 kb/s CBR
#   kestrel-talk.mp3    a spoken programme, MP3 64 kb/s CBR mono
#   kestrel-ogg.ogg     ident and another melody, Ogg Vorbis
#   kestrel-tv.ts       colour bars with ident and tone, MPEG-TS (MPEG-2, MP2)
#   kestrel-tv-news.ts  a moving test card with a melody, MPEG-TS
#
# The output is the same on every run: speech, tones and encoders have no
# random input, ffmpeg runs in bit-exact mode and no file carries a date,
# an encoder name or any other metadata.
set -euo pipefail

out=${1:?usage: make-demo-media.sh OUTPUT_FOLDER}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=44100
ffmpeg_quiet=(-hide_banner -loglevel error -nostdin -y)
ffmpeg_exact=(-map_metadata -1 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact)

# speak NAME TEXT: the ident as a 44.1 kHz stereo WAV.
speak() {
  espeak-ng -v en-gb -s 150 -w "$work/$1-voice.wav" "$2"
  sox -R "$work/$1-voice.wav" -r "$rate" -c 2 -b 16 "$work/$1-speech.wav" pad 0.3 0.7
}

# melody NAME SECONDS_PER_NOTE NOTE...: plucked notes one after another,
# softened at each end so that the loop point does not click.
melody() {
  local name=$1 length=$2
  shift 2
  local chain=() note
  for note in "$@"; do
    [ ${#chain[@]} -eq 0 ] || chain+=(:)
    chain+=(synth "$length" pluck "$note" fade 0 "$length" 0.05 gain -6)
  done
  sox -R -n -r "$rate" -c 2 -b 16 "$work/$name-melody.wav" "${chain[@]}"
}

# programme NAME: speech followed by melody, faded in and out.
programme() {
  sox -R "$work/$1-speech.wav" "$work/$1-melody.wav" "$work/$1.wav" fade 0.05 -0 0.3
}

speak mp3 "Kestrel Radio demo stream. You are listening to the M P 3 channel."
melody mp3 0.4 C4 E4 G4 C5 A3 C4 E4 A4 F3 A3 C4 F4 G3 B3 D4 G4 \
               C4 E4 G4 C5 A3 C4 E4 A4 F3 A3 C4 F4 G3 B3 D4 C4
programme mp3
ffmpeg "${ffmpeg_quiet[@]}" -i "$work/mp3.wav" "${ffmpeg_exact[@]}" -c:a libmp3lame -b:a 128k \
  -ar "$rate" -ac 2 -write_xing 0 -id3v2_version 0 "$out/kestrel-mp3.mp3"

speak talk "Kestrel Talk. This is a demonstration of a spoken word channel. \
Kestrel Radio plays internet radio and television channels from a station \
list. It remembers the last channel, starts it again when the list has \
loaded, and offers global hot keys for play, next, previous and stop. \
Thank you for listening to Kestrel Talk."
sox -R "$work/talk-speech.wav" -c 1 "$work/talk.wav"
ffmpeg "${ffmpeg_quiet[@]}" -i "$work/talk.wav" "${ffmpeg_exact[@]}" -c:a libmp3lame -b:a 64k \
  -ar "$rate" -ac 1 -write_xing 0 -id3v2_version 0 "$out/kestrel-talk.mp3"

speak ogg "Kestrel Radio demo stream. You are listening to the Ogg Vorbis channel."
melody ogg 0.3 E4 G4 B4 E5 D4 F#4 A4 D5 C4 E4 G4 C5 B3 D#4 F#4 B4 \
               E4 G4 B4 E5 D4 F#4 A4 D5 C4 E4 G4 C5 B3 D#4 F#4 E4
programme ogg
ffmpeg "${ffmpeg_quiet[@]}" -i "$work/ogg.wav" "${ffmpeg_exact[@]}" -c:a libvorbis -q:a 4 \
  -ar "$rate" -ac 2 "$out/kestrel-ogg.ogg"

# tv NAME VIDEO_SOURCE AUDIO_WAV: twelve seconds of MPEG-TS at a modest rate.
tv() {
  ffmpeg "${ffmpeg_quiet[@]}" -f lavfi -i "$2=size=320x240:rate=25:duration=12" \
    -i "$3" "${ffmpeg_exact[@]}" -filter_complex "[1:a]apad,atrim=0:12[a]" -map 0:v -map "[a]" \
    -c:v mpeg2video -b:v 600k -maxrate 600k -bufsize 600k -g 25 -threads 1 \
    -c:a mp2 -b:a 128k -ar "$rate" -ac 2 \
    -metadata service_provider="Kestrel Radio" -metadata service_name="$1" \
    -f mpegts "$out/$1.ts"
}

speak tv "Kestrel TV. This is a test transmission."
sox -R "$work/tv-speech.wav" "$work/tv.wav" synth 8 sine mix 1000 gain -18 pad 0 1
tv kestrel-tv smptebars "$work/tv.wav"

melody news 0.25 G4 B4 D5 G5 F4 A4 C5 F5 E4 G4 C5 E5 D4 F#4 A4 D5 \
                 G4 B4 D5 G5 F4 A4 C5 F5 E4 G4 C5 E5 D4 F#4 A4 G4 \
                 G4 B4 D5 G5 F4 A4 C5 F5 E4 G4 C5 E5 D4 F#4 A4 G4
tv kestrel-tv-news testsrc "$work/news-melody.wav"
