#pragma once

#include <atomic>

namespace kt5::test {

// How many event loops the running test is inside (a message box's, run by a probe). A failed
// assertion there returns from its callback only, the loop runs on and the test would hang
// until ctest's timeout, so test_main ends the run at once instead. Process-wide, as the
// failure reports that read it are.
inline std::atomic<int> eventLoopDepth{0};

} // namespace kt5::test
