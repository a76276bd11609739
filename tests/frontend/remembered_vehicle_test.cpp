// The vehicle chosen last: offered to the selector once, then followed, never a half-typed
// name nor the game's own first choice.
#include "frontend/remembered_vehicle.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelto1 {
namespace {

// The selector as the game holds it, with what was typed into it.
class Selector final : public BoxTexts {
 public:
  explicit Selector(std::string text) : text_(std::move(text)) {}
  const std::string& BoxText(Element) const override { return text_; }
  void BoxTyped(Element, const std::string& text) override {
    text_ = text;
    typed.push_back(text);
  }
  std::vector<std::string> typed;

 private:
  std::string text_;
};

TEST(RememberedVehicle, OfferedOnceThenEveryItemChosenIsRemembered) {
  Selector selector("RacingCar");
  RememberedVehicle vehicle;
  std::string remembered = "KeiTrack";
  EXPECT_FALSE(vehicle.Follow(selector, remembered));
  EXPECT_EQ(selector.typed, std::vector<std::string>{"KeiTrack"});
  EXPECT_FALSE(vehicle.Follow(selector, remembered));  // offered once only
  EXPECT_EQ(selector.typed.size(), 1u);
  struct Step {
    const char* typed;
    bool saved;
    const char* remembered;
  } steps[] = {
      {"Motor", false, "KeiTrack"},  // half typed: not an item
      {"MotorBike", true, "MotorBike"},
      {"MotorBike", false, "MotorBike"},  // nothing new
      {"RacingCar", true, "RacingCar"},
  };
  for (const Step& s : steps) {
    selector.BoxTyped(Element::CarSel, s.typed);
    EXPECT_EQ(vehicle.Follow(selector, remembered), s.saved) << s.typed;
    EXPECT_EQ(remembered, s.remembered) << s.typed;
  }
  // A new game is offered the remembered vehicle again.
  Selector next("RacingCar");
  vehicle.Reset();
  remembered = "FamilyCar";
  vehicle.Follow(next, remembered);
  EXPECT_EQ(next.BoxText(Element::CarSel), "FamilyCar");
}

TEST(RememberedVehicle, TheGamesOwnFirstChoiceIsNotRemembered) {
  Selector selector("RacingCar");
  RememberedVehicle vehicle;
  std::string remembered;
  EXPECT_FALSE(vehicle.Follow(selector, remembered));
  EXPECT_TRUE(selector.typed.empty());
  EXPECT_FALSE(vehicle.Follow(selector, remembered));
  EXPECT_EQ(remembered, "");
  selector.BoxTyped(Element::CarSel, "RoadStar");
  EXPECT_TRUE(vehicle.Follow(selector, remembered));
  EXPECT_EQ(remembered, "RoadStar");
}

}  // namespace
}  // namespace kelto1
