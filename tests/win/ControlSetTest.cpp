// A window's controls made from its table: when Windows refuses one, the
// window gets none of them, and a later creation makes them all.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/Failure.h"
#include "platform/win32/ControlSet.h"

namespace {

using layout::Kind;

constexpr layout::Control kTable[] = {
    {"paBox", Kind::Panel, nullptr, 8, 8, 100, 60, "", 0, 0},
    {"buInside", Kind::Button, "paBox", 8, 8, 75, 25, "&Inside", 0, 0},
    {"edBeside", Kind::Edit, nullptr, 120, 8, 100, 21, "", 1, 0},
};

TEST(ControlSetTest, ARefusedControlLeavesNoneAndALaterCreationMakesThemAll) {
  const platform::Texts texts(nullptr, 0);  // the table's texts are fixed ones
  platform::ControlSet controls(kTable);
  platform::TControl paBox(controls, 0);
  platform::TControl edBeside(controls, 2);

  // A window that no longer exists takes no child.
  HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  ::DestroyWindow(gone);
  std::string message;
  try {
    controls.Create(gone, nullptr, 96, texts);
  } catch (const platform::Failure& failure) {
    message = failure.what();
  }
  EXPECT_EQ(message, "Error creating window");
  EXPECT_FALSE(controls.Created());
  EXPECT_EQ(paBox.Handle(), nullptr);

  HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  controls.Create(window, nullptr, 96, texts);
  EXPECT_TRUE(controls.Created());
  EXPECT_EQ(::GetParent(paBox), window);
  EXPECT_EQ(::GetParent(edBeside), window);
  ::DestroyWindow(window);
}

}  // namespace
