// A failure kept inside an enumeration's callback: the enumeration stops
// there, and the failure comes out, message and all, once it has returned.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CallbackFailure.h"
#include "platform/Failure.h"

namespace {

// Stands in for a Windows enumeration: calls back for each item until the
// callback answers false, and knows nothing of exceptions.
void EnumerateItems(int count, bool (*callback)(int item, void* context), void* context) {
  for (int item = 0; item < count; ++item) {
    if (!callback(item, context)) return;
  }
}

struct Visit {
  int failingItem;
  std::string message;
  std::vector<int> visited;
  platform::CallbackFailure failure;
};

bool VisitItem(int item, void* context) {
  auto* visit = static_cast<Visit*>(context);
  try {
    visit->visited.push_back(item);
    if (item == visit->failingItem) throw platform::Failure(visit->message);
    return true;
  } catch (...) {
    return visit->failure.Keep(platform::CurrentFailureText());
  }
}

std::string RaisedMessage(const Visit& visit) {
  try {
    visit.failure.RaiseAgain();
  } catch (const platform::Failure& failure) {
    return failure.what();
  }
  return "(nothing raised)";
}

TEST(CallbackFailureTest, StopsTheEnumerationAndRaisesTheFailureAfterIt) {
  Visit visit{2, "Stream write error", {}, {}};
  EnumerateItems(5, VisitItem, &visit);
  EXPECT_EQ(visit.visited, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(RaisedMessage(visit), "Stream write error");

  Visit clean{-1, "", {}, {}};
  EnumerateItems(5, VisitItem, &clean);
  EXPECT_EQ(clean.visited.size(), 5u);
  EXPECT_NO_THROW(clean.failure.RaiseAgain());
}

TEST(CallbackFailureTest, CutsALongMessageToItsRoomWithAnEnd) {
  // The room is 512 characters with the closing zero.
  Visit visit{0, std::string(511, 'a') + "bc", {}, {}};
  EnumerateItems(1, VisitItem, &visit);
  EXPECT_EQ(RaisedMessage(visit), std::string(511, 'a'));

  Visit exact{0, std::string(511, 'z'), {}, {}};
  EnumerateItems(1, VisitItem, &exact);
  EXPECT_EQ(RaisedMessage(exact), std::string(511, 'z'));
}

}  // namespace
