#!/bin/bash
# The demo through a private PulseAudio on a 48 kHz null sink,
# straight to the server: the sink's monitor carries silence, then the music on the beat, unbroken.
# ctest-labels: audio
# ctest-timeout: 200
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/sound_servers.sh"

server_check_music pulseaudio
