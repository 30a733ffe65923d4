// The model: the physical system and everything derived from it. The one header the
// front ends, the export, the benchmarks and the Python module include to reach the
// physics; below it are only the numerical kernels.
#pragma once

#include "exact/dots.h"
#include "exact/steady.h"
#include "model/chart.h"
#include "model/cycle.h"
#include "model/derive.h"
#include "model/derived.h"
#include "model/response.h"
#include "model/steady_kind.h"
#include "model/stability.h"
#include "model/summary.h"
#include "model/system.h"
#include "model/trajectory.h"
#include "model/verdict.h"
#include "regime/map.h"
