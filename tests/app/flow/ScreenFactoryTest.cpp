// Screens that a lower subsystem opens by kind.
#include "app/flow/ScreenFactory.h"

#include <gtest/gtest.h>

#include "ui/DIBBaseScreen.h"

namespace {

struct Made {
  CBaseGame* parent = nullptr;
  int block = 0;
};
Made gMade;

class KindScreen : public CDIBBaseScreen {
 public:
  explicit KindScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {}
};

CDIBBaseScreen* MakeKind(CBaseGame* parent, const void* block) {
  gMade.parent = parent;
  gMade.block = *static_cast<const int*>(block);
  if (gMade.block < 0) return nullptr;  // a screen whose Initialize fails
  return new KindScreen(parent);
}

TEST(ScreenFactory, MakesOnlyRegisteredKindsWithTheirParentAndBlock) {
  ClearScreenMakers();
  int block = 7;
  EXPECT_FALSE(HasScreen(SCREEN_CONF));
  EXPECT_EQ(CreateScreen(SCREEN_CONF, nullptr, &block), nullptr);

  RegisterScreen(SCREEN_CONF, MakeKind);
  KindScreen parent(nullptr);
  CDIBBaseScreen* screen = CreateScreen(SCREEN_CONF, &parent, &block);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(gMade.parent, &parent);
  EXPECT_EQ(gMade.block, 7);
  EXPECT_EQ(screen->GetParent(), &parent);
  delete screen;

  block = -1;
  EXPECT_EQ(CreateScreen(SCREEN_CONF, &parent, &block), nullptr);
  // Kinds outside the table are never made.
  EXPECT_EQ(CreateScreen(static_cast<ScreenKind>(SCREEN_KIND_COUNT), &parent, &block), nullptr);
  EXPECT_EQ(CreateScreen(static_cast<ScreenKind>(-1), &parent, &block), nullptr);
  RegisterScreen(SCREEN_CONF, nullptr);
  EXPECT_FALSE(HasScreen(SCREEN_CONF));
}

}  // namespace
