// The display callback: the steps of one frame in their fixed order, ending with the swap.
#pragma once

void presentFrame(); // swap the finished picture to the screen

constexpr int frameStepCount = 7;
// The work of one frame in order: clear, scene, light, shot, letterbox, scanlines,
// swap. Writable so a test can watch each step run.
extern void (*frameSteps[frameStepCount])();
// The GLUT display callback: runs frameSteps in order.
void displayFrame();
