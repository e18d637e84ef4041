#!/bin/bash
# The demo through a private PipeWire (with WirePlumber and its PulseAudio service) on a
# 48 kHz null sink, its graph in the 2 048-frame quanta it runs for the demo alone on a
# desktop: the monitor carries silence, then the music on the beat, unbroken.
# ctest-labels: audio
# ctest-timeout: 200
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/sound_servers.sh"

PIPEWIRE_QUANTUM=2048 server_check_music pipewire
