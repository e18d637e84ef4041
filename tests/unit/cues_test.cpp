// Constants kept apart that must carry equal times: flash starts on the cuts and scene
// starts of the tables, credit windows on shot rows, the wave rise on scene 5's start.
#include "direction/timeline.h"
#include "scenes/credits.h"
#include "scenes/flash_cues.h"
#include "scenes/prop_curves.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

bool isSceneStart(int32_t t) { return sceneForTime(t - 1) != sceneForTime(t); }

// The first millisecond of every shot row after the first, each a cut or a scene start.
std::vector<int32_t> rowStarts()
{
    std::vector<int32_t> starts;
    for (int row = 1; row < shotTableRows; ++row) {
        starts.push_back(shotTableRow(row).fromMs);
    }
    return starts;
}

// Cuts strictly inside the scene: row starts that are not the scene's own start.
std::vector<int32_t> cutsWithin(int scene)
{
    std::vector<int32_t> cuts;
    for (int32_t t : rowStarts()) {
        if (sceneForTime(t) == scene && !isSceneStart(t)) {
            cuts.push_back(t);
        }
    }
    return cuts;
}

struct FlashCue {
    int scene;
    std::vector<int32_t> opening; // the scene start, when the train opens with one (or the wave rises)
    std::vector<int32_t> onCuts;  // one per cut inside the scene, in order
};

TEST(EqualConstants, FlashesAndTheWaveRiseOpenTheirScenesAndFlashesFallOnEveryCut)
{
    const std::vector<int32_t> none;
    const FlashCue cues[] = {
        {1, none, {std::begin(forestFlashTimesMs), std::end(forestFlashTimesMs)}},
        {4, {latticeSceneStartMs}, {std::begin(latticeFlashTimesMs), std::end(latticeFlashTimesMs)}},
        {5, {risingFieldStartMs, waveRiseMs}, none}, // the flash and the rise of the wave field
        {6, {blockFieldStartMs}, {std::begin(blockFieldFlashTimesMs), std::end(blockFieldFlashTimesMs)}},
        {7, {restingFieldStartMs}, {std::begin(restingFieldFlashTimesMs), std::end(restingFieldFlashTimesMs)}},
        {8, {wideGroundStartMs}, none},
        {9, {endCardStartMs}, none},
    };
    for (const FlashCue& cue : cues) {
        for (int32_t start : cue.opening) {
            EXPECT_TRUE(isSceneStart(start)) << "scene " << cue.scene << " opens at " << start;
            EXPECT_EQ(sceneForTime(start), cue.scene) << start;
        }
        EXPECT_EQ(cue.onCuts, cutsWithin(cue.scene)) << "scene " << cue.scene;
    }
}

TEST(EqualConstants, EachCreditHoldsToTheEndOfItsShotRow)
{
    // The block field's rows are 25 to 32 (counted from 1): shots 19 to 26, a card each.
    constexpr int firstCreditRow = 24;
    const int32_t sceneStart = shotTableRow(firstCreditRow).fromMs;
    ASSERT_TRUE(isSceneStart(sceneStart));
    int32_t t = sceneStart;
    for (int card = 0; card < creditCount; ++card) {
        const CreditCard* shown = creditForTime(t);
        ASSERT_NE(shown, nullptr) << "card " << card;
        EXPECT_EQ(shown->lastMs, shotTableRow(firstCreditRow + card).toMs) << "card " << card;
        t = shown->lastMs + 1;
    }
    EXPECT_EQ(creditForTime(t), nullptr);
    EXPECT_TRUE(isSceneStart(t - 1)) << "the last card ends where scene 7 starts";
}

} // namespace
