// Scenes 0 to 4 (placeholders that draw nothing).
#include "scenes/scenes.h"

void renderScene0() {}
void renderScene1() {}
void renderScene2() {}
void renderScene3() {}
void renderScene4() {}
