// Playback in the window: the front ends' driver plays the motion (driver/driver.h) on
// GLUT's timers, the same frames as 's'.
#pragma once

#include "driver/driver.h"
