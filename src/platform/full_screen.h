// A window made full screen over the monitor it stands on, each system its own way:
// the borderless window that stands in when the display refuses the game mode.
#pragma once

void fullScreenOnItsMonitor();
