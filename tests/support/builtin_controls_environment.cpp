// Test programs that build skins without a window of their own start, as
// the program does, with the built-in classes registered.
#include "builtin_controls.h"

#include <gtest/gtest.h>

namespace {

class BuiltinControls : public ::testing::Environment {
public:
    void SetUp() override { SkinUI::RegisterBuiltinControls(); }
};

const ::testing::Environment* const kBuiltinControls = ::testing::AddGlobalTestEnvironment(new BuiltinControls);

} // namespace
