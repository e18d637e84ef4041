// The ten scene renderers, one per stretch of the timeline.
#pragma once

// Each returns with the model-view matrix current and the identity.
void renderScene0(); // loading card
void renderScene1(); // forest fading in, captions, fast flashes
void renderScene2(); // translucent sphere rows
void renderScene3(); // forest under the beating sky
void renderScene4(); // forest and the tilted cube lattice
void renderScene5(); // wave field rising
void renderScene6(); // block field and credits
void renderScene7(); // wave field at rest
void renderScene8(); // wide ground fading to black
void renderScene9(); // end card
