// Marks the steps of start-up for the bench's breakdown of where the time goes.
// Only the bench's own build of the program defines UPDATE_STARTUP_STEPS and
// links the recorder; in every other build a mark is nothing at all.
#pragma once

#if defined(UPDATE_STARTUP_STEPS)
void MarkStartupStep(const char* step);
#define MARK_STARTUP_STEP(step) MarkStartupStep(step)
#else
#define MARK_STARTUP_STEP(step) static_cast<void>(0)
#endif
