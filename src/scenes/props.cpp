// Scene props (placeholder: nothing drawn yet).
#include "scenes/props.h"

void drawGround(float) {}
void drawTree(float, float, float) {}
void drawForest() {}
void drawWaveField() {}
void drawTunnelField() {}
void drawSphereRows() {}
void drawCubeLattice() {}
void drawImageQuad(GLuint, float, float, float, float, float, float, float, float) {}
void setPulseClearColor(float, double) {}
