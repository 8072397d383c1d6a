#!/usr/bin/env bash
# Fails when a file of the core includes Qt, an audio library, a platform API or the file
# system: the core meets the world only through its seams.
set -u
status=0
for f in "$@"; do
  hits=$(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]((Q[A-Za-z]+)|(Qt[A-Za-z]*/)|(fluidsynth)|(sndfile)|(libspeechd)|(speech-dispatcher/)|(pulse/)|(alsa/)|(windows\.h)|(fstream)|(filesystem)|(unistd\.h)|(sys/))' "$f")
  if [ -n "$hits" ]; then
    echo "$f:"
    echo "$hits"
    status=1
  fi
done
[ $status -eq 0 ] && echo "core is platform free ($# files checked)"
exit $status
