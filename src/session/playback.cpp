// Playback's cadence.
#include "session/playback.h"

namespace fv {

bool togglePlaybackRun(Playback* p, int nowMs) {
    if (p->playing) {
        p->playing = false;
        return false;
    }
    p->playing = true;
    p->generation = p->generation + 1;
    p->nextFrameDueMs = nowMs;
    return true;
}

bool playbackRunCurrent(const Playback& p, int generation) {
    return p.playing && generation == p.generation;
}

unsigned nextPlaybackFrameDelay(Playback* p, int nowMs) {
    p->nextFrameDueMs = p->nextFrameDueMs + playbackFrameMs;
    if (p->nextFrameDueMs <= nowMs) {
        p->nextFrameDueMs = nowMs + playbackFrameMs; // late: no catching up
    }
    return static_cast<unsigned>(p->nextFrameDueMs - nowMs);
}

} // namespace fv
