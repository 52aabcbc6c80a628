#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"

namespace obrenta::settings::test {

using obrenta::test::ReadBytes;
using obrenta::test::ScopedEnv;
using obrenta::test::TempDir;
using obrenta::test::WriteBytes;

inline std::string DataFile(const std::string& name) {
    return obrenta::test::DataPath("settings/" + name);
}

}  // namespace obrenta::settings::test
