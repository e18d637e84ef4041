// Scenes 5 to 9 (placeholders that draw nothing).
#include "scenes/scenes.h"

void renderScene5() {}
void renderScene6() {}
void renderScene7() {}
void renderScene8() {}
void renderScene9() {}
