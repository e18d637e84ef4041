// The numbers of the thirteen texture slots, in the order the images load.
#pragma once

// Slot order: s1, s2, s3, g1 ... g8, end, Loading.
constexpr int textureSlotCount = 13;

// Slot numbers the scenes use.
constexpr int slotS1 = 0;
constexpr int slotS2 = 1;
constexpr int slotS3 = 2;
constexpr int slotG1 = 3;
constexpr int slotEnd = 11;
constexpr int slotLoading = 12;
