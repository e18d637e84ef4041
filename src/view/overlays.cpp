// Screen overlays (placeholder: nothing drawn yet).
#include "view/overlays.h"

void fillOverlay(float, float, float, float) {}
void drawFlash(int32_t, double) {}
void drawLetterbox() {}
void drawScanlines() {}
