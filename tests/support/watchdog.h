#pragma once

namespace kt5::test {

// Marks a stretch in which the test waits inside an event loop or a modal box. An assertion
// that fails meanwhile ends the test binary at once: the loop would otherwise wait for an
// event that the failed test will never send, until ctest's timeout.
class InsideEventLoop {
public:
    InsideEventLoop();
    ~InsideEventLoop();
    InsideEventLoop(const InsideEventLoop&) = delete;
    InsideEventLoop& operator=(const InsideEventLoop&) = delete;
};

} // namespace kt5::test
