// A scratch installation for the save data: its own folder, the save
// location pointed at it, and an application object with no services.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "TestDir.h"
#include "app/core/MainWindow.h"
#include "platform/FileReplace.h"
#include "save/SaveData.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mpPrev = gpMainWindow;
    gpMainWindow = &mWindow;
    UseRoot(mDir.path());
  }
  void TearDown() override {
    plat::SetBeforeRenameHook(nullptr);
    save::SetSaveLocation({"./", {"./"}, false});
    gpMainWindow = mpPrev;
  }
  void UseRoot(const std::string& root) { save::SetSaveLocation({root, {root}, false}); }
  std::unique_ptr<CSaveData> Fresh() {
    auto s = std::make_unique<CSaveData>();
    EXPECT_TRUE(s->Initialize());
    return s;
  }

  TestDir mDir;
  CMainWindow mWindow;
  CMainWindow* mpPrev = nullptr;
};
