// Scripted runs of the whole game on the generated data.
#include <gtest/gtest.h>

#include "flow/script/script_run.h"

namespace tessaru {
namespace {

}  // namespace
}  // namespace tessaru
