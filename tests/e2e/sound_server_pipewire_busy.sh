#!/bin/bash
# The demo through a private PipeWire (its PulseAudio service) on a 48 kHz null sink while
# every core is kept busy beside it: the monitor carries the music on the beat, unbroken.
# ctest-labels: audio
# ctest-timeout: 200
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/sound_servers.sh"

server_check_music pipewire busy
