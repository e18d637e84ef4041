// Which texture slot holds which of the demo's thirteen images; plain numbers, so the
// card generator can read the credit table without OpenGL.
#pragma once

constexpr int textureSlotCount = 13;

// Slot order: s1, s2, s3, g1 ... g8, end, Loading.
constexpr int slotS1 = 0;
constexpr int slotS2 = 1;
constexpr int slotS3 = 2;
constexpr int slotG1 = 3;
constexpr int slotEnd = 11;
constexpr int slotLoading = 12;
