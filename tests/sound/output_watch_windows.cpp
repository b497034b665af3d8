#include "sound/output_watch.h"

namespace kt5::test {

OutputWatch::OutputWatch() = default;
OutputWatch::~OutputWatch() = default;

bool OutputWatch::heardAnything() const
{
    return false;
}

} // namespace kt5::test
