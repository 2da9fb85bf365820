#!/bin/bash
# miravel-cli mp3wav on files from a real encoder: the wrapped WAV is
# recognised by a real decoder (ffmpeg) as MPEG audio with the header's
# rate and channels, and decodes to the MP3's own audio. The decoder reads
# the WAV's data without the MP3's gapless information, so the WAV's audio
# also holds the encoder's delay and padding (and the silent info frame):
# the MP3's decoded samples must appear in it unchanged, in one piece.
# An ID3-tagged file is refused and no WAV is written.
set -u
cli=$1
data=$2
work=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
fail=0
for mp3 in "$data"/*.mp3; do
    name=$(basename "$mp3" .mp3)
    wav=$work/$name.wav
    "$cli" mp3wav "$mp3" "$wav" 2>"$work/$name.err"
    rc=$?
    if [ "$name" = id3_tagged ]; then
        if [ $rc -ne 2 ] || [ -e "$wav" ] || ! grep -q "MP3toWAV" "$work/$name.err"; then
            echo "FAIL $name: rc=$rc, expected a refusal and no file"; fail=1
        else
            echo "ok   $name refused"
        fi
        continue
    fi
    if [ $rc -ne 0 ]; then echo "FAIL $name: rc=$rc $(cat "$work/$name.err")"; fail=1; continue; fi
    probe_mp3=$(ffprobe -v error -show_entries stream=sample_rate,channels -of csv=p=0 "$mp3" |
        head -1 | cut -d, -f1,2)
    probe_wav=$(ffprobe -v error -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 \
        "$wav" | head -1 | cut -d, -f1-3)
    case "$probe_wav" in
        mp1,*|mp2,*|mp3,*) ;;
        *) echo "FAIL $name: decoder sees '$probe_wav'"; fail=1; continue ;;
    esac
    if [ "${probe_wav#*,}" != "$probe_mp3" ]; then
        echo "FAIL $name: wav '$probe_wav' vs mp3 '$probe_mp3'"; fail=1; continue
    fi
    ffmpeg -nostdin -loglevel error -y -i "$mp3" -f s16le "$work/$name.mp3.pcm" &&
        ffmpeg -nostdin -loglevel error -y -i "$wav" -f s16le "$work/$name.wav.pcm" || {
        echo "FAIL $name: decoding failed"; fail=1; continue; }
    if python3 - "$work/$name.mp3.pcm" "$work/$name.wav.pcm" <<'PY'
import sys
mp3 = open(sys.argv[1], 'rb').read()
wav = open(sys.argv[2], 'rb').read()
sys.exit(0 if len(mp3) > 1000 and wav.find(mp3) >= 0 else 1)
PY
    then
        echo "ok   $name $probe_wav"
    else
        echo "FAIL $name: the WAV's audio does not hold the MP3's"; fail=1
    fi
done
exit $fail
