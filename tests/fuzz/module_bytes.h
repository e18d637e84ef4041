// Tiny tracker modules written byte by byte, for the audio fuzzer's seeds:
// one sample, one short pattern of a few notes, in each format the demo reads.
#pragma once

#include <vector>

std::vector<unsigned char> tinyMod();
std::vector<unsigned char> tinyXm();
std::vector<unsigned char> tinyS3m();
std::vector<unsigned char> tinyIt();
