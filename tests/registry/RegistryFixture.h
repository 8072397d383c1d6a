// The registry module on a registry file in a fresh folder (in memory without POSIX).
#pragma once

#include <gtest/gtest.h>

#include "registry/MemoryRegistry.h"
#include "registry/RegistryAccess.h"
#include "support/FakeWindow.h"

#ifndef _WIN32
#include <cstdlib>
#include <filesystem>

#include "posix/FileRegistry.h"
#endif

namespace kadeno::test {

// Each change kept: "delete <key>" per key removed, "values <key>" per key made or changed.
template <class Registry>
struct Recording : Registry {
  using Registry::Registry;
  std::vector<std::string> changes;
  int32_t Persist(const RegistryKeys& next) override {
    for (const auto& [path, values] : this->Keys())
      if (!next.count(path)) changes.push_back("delete " + path);
    for (const auto& [path, values] : next) {
      const auto was = this->Keys().find(path);
      if (was == this->Keys().end() || was->second != values) changes.push_back("values " + path);
    }
    return Registry::Persist(next);
  }
};

struct RegistryTest : ::testing::Test {
#ifndef _WIN32
  std::string folder = [] {
    std::string p = (std::filesystem::temp_directory_path() / "kadeno-reg-XXXXXX").string();
    return ::mkdtemp(p.data()) ? p : std::string();
  }();
  Recording<FileRegistry> reg{folder + "/registry.reg"};
  ~RegistryTest() override {
    std::error_code e;
    std::filesystem::remove_all(folder, e);
  }
#else
  Recording<MemoryRegistry> reg;
#endif
  FakeWindow window;
  RegistryAccess access{reg, window};
};

}  // namespace kadeno::test
