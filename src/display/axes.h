#pragma once
// Where each board channel's value axis sits on the main graph: the first enabled channel
// takes the primary axis (2), every further one the next added axis.

namespace vemra {

// CH0 at 2; CH1 at 2, or 3 beside CH0; CH2 after all the others, at count + 1.
// ch0Box is CH0's enable box value, count the number of enabled channels.
constexpr int channelAxisPosition(int channel, int ch0Box, int count) {
    return channel == 0 ? 2 : channel == 1 ? 2 + ch0Box : count + 1;
}

} // namespace vemra
