#pragma once
// The search index's threads: how many, and the shared task runner.
#include <algorithm>
#include <thread>

#include "common/run_tasks.h"

namespace hhc::fts {

// The threads to use when the caller asks for 0: one per core, at most 8.
inline unsigned DefaultThreadCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

using hhc::RunTasks;

}  // namespace hhc::fts
