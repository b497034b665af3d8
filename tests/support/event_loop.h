#pragma once

#include <atomic>

namespace kt5::test {

// How many event loops (a message box's, run by a probe) the test is inside. A failed assertion
// there would leave the loop running until ctest's timeout; test_main ends the run at once.
inline std::atomic<int> eventLoopDepth{0};

} // namespace kt5::test
