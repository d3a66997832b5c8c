// The sprite engine's list: depth order, passes, deferred death and ownership.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SpriteFixture.h"

namespace {

using spritetest::SpriteFixture;
using spritetest::TProbeSprite;
using Strings = std::vector<std::string>;

class SpriteEngineTest : public SpriteFixture {
 protected:
  TProbeSprite* Make(const std::string& label, int32_t z = 0) {
    return Engine.Create<TProbeSprite>(label, Log, z);
  }

  Strings Order() const {
    Strings labels;
    for (auto* sprite : Engine.SpriteList())
      labels.push_back(static_cast<TProbeSprite*>(sprite)->Label);
    return labels;
  }

  size_t CountOf(const std::string& event) const {
    return static_cast<size_t>(std::count(Log.begin(), Log.end(), event));
  }
};

TEST_F(SpriteEngineTest, ASpriteEqualInDepthGoesBeneathTheOnesAlreadyThere) {
  Make("first");
  Make("second");
  Make("deep", -5);
  Make("top", 7);
  EXPECT_EQ(Order(), (Strings{"deep", "second", "first", "top"}));
  Engine.Draw();
  EXPECT_EQ(Log, (Strings{"draw deep", "draw second", "draw first", "draw top"}));
}

TEST_F(SpriteEngineTest, SetZPutsTheSpriteFirstAmongItsNewEqualsAndIgnoresTheSameValue) {
  auto* a = Make("a", 3);
  Make("b", 2);
  EXPECT_EQ(Order(), (Strings{"b", "a"}));
  a->SetZ(2);
  EXPECT_EQ(Order(), (Strings{"a", "b"}));
  Engine.Items(1)->SetZ(2);  // unchanged: no re-sort, so "b" stays behind "a"
  EXPECT_EQ(Order(), (Strings{"a", "b"}));
  EXPECT_EQ(a->Z(), 2);
}

TEST_F(SpriteEngineTest, ManyDepthsStaySortedWithNewestFirstAmongEquals) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int32_t> depth(-3, 3);
  for (int i = 0; i < 200; ++i) Make(std::to_string(i), depth(random));
  for (int i = 0; i < 50; ++i) {
    Engine.Items(static_cast<int32_t>(random() % 200))->SetZ(depth(random));
  }
  const auto& list = Engine.SpriteList();
  ASSERT_EQ(list.size(), 200u);
  EXPECT_TRUE(
      std::is_sorted(list.begin(), list.end(), [](auto* l, auto* r) { return l->Z() < r->Z(); }));
}

TEST_F(SpriteEngineTest, ItemsAndCount) {
  EXPECT_EQ(Engine.Count(), 0);
  EXPECT_EQ(Engine.Items(0), nullptr);
  auto* a = Make("a");
  EXPECT_EQ(Engine.Count(), 1);
  EXPECT_EQ(Engine.Items(0), a);
  EXPECT_EQ(Engine.Items(-1), nullptr);
  EXPECT_EQ(Engine.Items(1), nullptr);
}

TEST_F(SpriteEngineTest, MoveAndDrawGoInDepthOrder) {
  Make("b", 2);
  Make("a", 1);
  Engine.Move(0.5f);
  Engine.Draw();
  EXPECT_EQ(Log, (Strings{"move a", "move b", "draw a", "draw b"}));
}

TEST_F(SpriteEngineTest, MoveMakesAsManyCallsAsThereWereSpritesWhenItBegan) {
  auto* a = Make("a", 0);
  Make("b", 10);
  Make("c", 20);
  a->OnMove = [this](TProbeSprite& self) {
    Make("shallow", 5);  // lands at index 1: "b" is called second-to-last, "c" not at all
    Make("late", 30);    // lands after the count taken at the start
    self.OnMove = nullptr;
  };
  Engine.Move(0);
  EXPECT_EQ(Log, (Strings{"move a", "move shallow", "move b"}));
  Log.clear();
  Engine.Move(0);
  EXPECT_EQ(Log, (Strings{"move a", "move shallow", "move b", "move c", "move late"}));
}

TEST_F(SpriteEngineTest, DrawCountsLikeMove) {
  auto* a = Make("a", 0);
  Make("b", 10);
  struct TSpawner : TProbeSprite {
    using TProbeSprite::TProbeSprite;
    void DoDraw() override {
      TProbeSprite::DoDraw();
      if (Engine().Count() == 2) Engine().Create<TProbeSprite>("front", Log, -1);
    }
  };
  Engine.FreeSprite(a);
  Engine.Create<TSpawner>("spawner", Log, 0);
  Log.clear();
  Engine.Draw();
  EXPECT_EQ(Log, (Strings{"draw spawner", "draw spawner"}));
}

TEST_F(SpriteEngineTest, AKilledSpriteIsStillMovedAndDrawnAndFreedAtTheNextClearDead) {
  auto* a = Make("a", 0);
  auto* b = Make("b", 1);
  a->OnMove = [b](TProbeSprite& self) {
    self.Kill();
    b->Kill();
    self.Kill();
  };
  Engine.Move(0);
  Engine.Draw();
  EXPECT_EQ(Log, (Strings{"move a", "move b", "draw a", "draw b"}));
  EXPECT_TRUE(a->Dead());
  ASSERT_EQ(Engine.DeadList().size(), 2u);  // each once, in order of death
  EXPECT_EQ(Engine.DeadList()[0], a);
  EXPECT_EQ(Engine.DeadList()[1], b);
  EXPECT_EQ(Engine.Count(), 2);
  Log.clear();
  Engine.ClearDead();
  EXPECT_EQ(Log, (Strings{"free b", "free a"}));
  EXPECT_EQ(Engine.Count(), 0);
  EXPECT_TRUE(Engine.DeadList().empty());
}

TEST_F(SpriteEngineTest, AKilledSpriteTakesNoPartInCollisions) {
  auto* image = AddSolid("block", 8, 8);
  auto* a = Probe("a", image, 0, 0);
  auto* b = Probe("b", image, 4, 4);
  a->Collidable = b->Collidable = true;
  b->Kill();
  a->Collision(b);
  b->Collision(a);
  EXPECT_TRUE(a->Hits.empty());
  EXPECT_TRUE(b->Hits.empty());
}

TEST_F(SpriteEngineTest, FreeingDirectlyUnlinksFromBothLists) {
  auto* a = Make("a");
  auto* b = Make("b");
  b->Kill();
  Engine.FreeSprite(b);
  EXPECT_EQ(Order(), (Strings{"a"}));
  EXPECT_TRUE(Engine.DeadList().empty());
  Engine.ClearDead();
  EXPECT_EQ(CountOf("free b"), 1u);
  EXPECT_EQ(Engine.Items(0), a);
}

TEST(SpriteEngineLifetime, DestructionFreesLiveAndDeadSpritesOnce) {
  Strings log;
  {
    vexel::TVexelSprite engine;
    engine.Create<TProbeSprite>("live", log);
    auto* dead = engine.Create<TProbeSprite>("dead", log, 1);
    dead->Kill();
    dead->Kill();
  }
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (Strings{"free dead", "free live"}));
}

TEST_F(SpriteEngineTest, ConstructionValues) {
  auto* s = Engine.Create<vexel::TSprite>();
  EXPECT_EQ(&s->Engine(), &Engine);
  EXPECT_EQ(s->Name(), "");
  EXPECT_EQ(s->Bounds(), (vexel::TRect{0, 0, 0, 0}));
  EXPECT_EQ(s->Width(), 10);
  EXPECT_EQ(s->Height(), 10);
  EXPECT_EQ((std::vector<float>{s->X(), s->Y(), s->Corner1X(), s->Corner1Y(), s->Corner2X(),
                                s->Corner2Y(), s->Corner3X(), s->Corner3Y(), s->MidX(), s->MidY()}),
            (std::vector<float>{0, 0, 10, 0, 10, 10, 0, 10, 0, 0}));
  EXPECT_EQ((std::vector<uint32_t>{s->Color1, s->Color2, s->Color3, s->Color4}),
            std::vector<uint32_t>(4, 0xFFFFFFFFu));
  EXPECT_EQ((std::vector<int32_t>{s->Red(), s->Green(), s->Blue(), s->Alpha()}),
            std::vector<int32_t>(4, 255));
  EXPECT_EQ(s->PatternIndex(), 0);
  EXPECT_EQ(s->BlendMode, 0);
  EXPECT_EQ(s->Z(), 0);
  EXPECT_TRUE(s->Visible);
  EXPECT_FALSE(s->IgnoreCamera || s->MirrorX || s->MirrorY || s->Collidable || s->PixelCheck ||
               s->PixelOnly || s->Additive() || s->Dead());
  EXPECT_EQ(s->Image(), nullptr);
  EXPECT_EQ((std::vector<float>{s->ScaleX, s->ScaleY, s->CenterX, s->CenterY, s->Rotation,
                                s->OffsetX, s->OffsetY}),
            (std::vector<float>{1, 1, 0, 0, 0, 0, 0}));
}

}  // namespace
