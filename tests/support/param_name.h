#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kt5::test {

// Names each row of a table-driven test after its `name` field, so a failure says which row.
struct ByName {
    template <class Param>
    std::string operator()(const testing::TestParamInfo<Param>& row) const
    {
        return row.param.name;
    }
};

} // namespace kt5::test
