#pragma once

#include "core/formatting.h"

#include <gtest/gtest.h>

namespace kelvarn::test {

// Tests of figures and texts as a Czech user sees them, whatever locale the test
// program runs under; the conventions in force before are back afterwards.
class CzechConventionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
    }
    void TearDown() override { LocaleConventions::setCurrent(saved_); }

  private:
    LocaleConventions saved_;
};

} // namespace kelvarn::test
