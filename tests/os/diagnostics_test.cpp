// The program's own lines on its error output: every line of a message one of its own, as
// libraries write some with several lines, an empty one, a newline at the end.
#include "os/diagnostics.h"

#include <gtest/gtest.h>

TEST(Diagnostics, EveryLineOfAMessageIsOneOfTheProgramsOwn)
{
    testing::internal::CaptureStderr();
    kt5::platform::os::printDiagnostic("cannot play 03.wav: file missing");
    kt5::platform::os::printDiagnostic("first\nsecond\n\nthird\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kt5_dtmf: cannot play 03.wav: file missing\nkt5_dtmf: first\nkt5_dtmf: second\n"
              "kt5_dtmf: third\n");
}
