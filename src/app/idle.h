// The GLUT idle callback, the one place the demo clock advances.
#pragma once

// Clock, redraw request, pulses, end, music trigger.
void onIdle();
