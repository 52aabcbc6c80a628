#pragma once

#include "support/TestSupport.h"

namespace obrenta::scorelog::test {

using obrenta::test::Sj;

}  // namespace obrenta::scorelog::test
