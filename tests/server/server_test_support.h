#pragma once
// A fresh scratch folder for each server test.
#include "scratch_folder.h"

namespace decor::server {

class TempFolderTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch_{"decor-server"};
  const std::filesystem::path& folder_ = scratch_.path();
};

}  // namespace decor::server
