#include "app/layout.h"

#include <gtest/gtest.h>

#include "app/twips.h"

namespace lorvane::app {
namespace {

bool same(const TwipsRect& a, const TwipsRect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

constexpr ControlId button_column[] = {id_select_button, id_move_up_button, id_move_down_button,
                                       id_delete_button, id_save_button,    id_start_stop_button};

TEST(Layout, AtTheMinimumSize) {
  Layout at = layout_for(minimum_outer_width, minimum_outer_height);
  EXPECT_EQ(at[id_target_list].width, 2580);
  EXPECT_EQ(at[id_target_list].height, 2760);
  EXPECT_EQ(at[id_target_list].left, 0);
  EXPECT_EQ(at[id_target_list].top, 480);
  EXPECT_EQ(at[id_front_display_option].top, 3390);
  EXPECT_EQ(at[id_about_button].left, 3540 - 1470);
  for (ControlId id : button_column) {
    SCOPED_TRACE(id);
    EXPECT_EQ(at[id].left, 3540 - 870);
    EXPECT_EQ(at[id].top, designed_rect(id).top);
    EXPECT_EQ(at[id].width, 735);
    EXPECT_EQ(at[id].height, 375);
  }
}

TEST(Layout, ValuesNoStepMovesKeepTheirDesign) {
  Layout at = layout_for(9000, 7000);
  EXPECT_TRUE(same(at[id_list_label], designed_rect(id_list_label)));
  EXPECT_TRUE(same(at[id_idle_threshold_box], designed_rect(id_idle_threshold_box)));
  EXPECT_EQ(at[id_front_display_option].left, 120);
  EXPECT_EQ(at[id_front_display_option].width, 3135);
  EXPECT_EQ(at[id_front_display_option].height, 615);
  EXPECT_EQ(at[id_about_button].top, 0);
  EXPECT_EQ(at[id_about_button].width, 1335);
}

TEST(Layout, WidthMovesTheRightColumnAndHeightTheBottom) {
  Layout base = layout_for(4000, 5000);
  Layout wider = layout_for(5000, 5000);
  Layout taller = layout_for(4000, 6000);
  for (int id = id_list_label; id <= id_idle_threshold_box; ++id) {
    auto c = static_cast<ControlId>(id);
    SCOPED_TRACE(id);
    bool follows_width = c == id_target_list || c == id_about_button || c == id_start_stop_button ||
                         c == id_select_button || c == id_save_button || c == id_delete_button ||
                         c == id_move_up_button || c == id_move_down_button;
    bool follows_height = c == id_target_list || c == id_front_display_option;
    EXPECT_EQ(!same(base[c], wider[c]), follows_width);
    EXPECT_EQ(!same(base[c], taller[c]), follows_height);
  }
  EXPECT_EQ(wider[id_target_list].width - base[id_target_list].width, 1000);
  EXPECT_EQ(wider[id_start_stop_button].left - base[id_start_stop_button].left, 1000);
  EXPECT_EQ(taller[id_target_list].height - base[id_target_list].height, 1000);
  EXPECT_EQ(taller[id_front_display_option].top - base[id_front_display_option].top, 1000);
}

TEST(Layout, DesignedOuterSizeIsTheClientPlusTheDesignFrame) {
  EXPECT_EQ(designed_client_width + design_frame_width, 3495);
  EXPECT_EQ(designed_client_height + design_frame_height, minimum_outer_height);
  // The buttons stand flush with the right edge of the designed client area.
  EXPECT_EQ(designed_rect(id_start_stop_button).left + designed_rect(id_start_stop_button).width,
            designed_client_width);
}

TEST(Twips, FifteenToThePixelAtNinetySixDpi) {
  EXPECT_EQ(twips_to_pixels(15, 96), 1);
  EXPECT_EQ(twips_to_pixels(designed_client_width, 96), 225);
  EXPECT_EQ(twips_to_pixels(designed_client_height, 96), 275);
  EXPECT_EQ(pixels_to_twips(1, 96), 15);
  EXPECT_EQ(pixels_to_twips(225, 96), 3375);
}

TEST(Twips, NearestPixelAtHigherResolutions) {
  EXPECT_EQ(twips_to_pixels(3375, 120), 281);  // 281.25
  EXPECT_EQ(twips_to_pixels(4530, 120), 378);  // 377.5, halves away from zero
  EXPECT_EQ(twips_to_pixels(3375, 144), 338);  // 337.5
  EXPECT_EQ(twips_to_pixels(-3375, 144), -338);
  EXPECT_EQ(twips_to_pixels(15, 120), 1);  // 1.25
  EXPECT_EQ(twips_to_pixels(6, 144), 1);   // 0.6
  EXPECT_EQ(pixels_to_twips(281, 120), 3372);
  EXPECT_EQ(pixels_to_twips(338, 144), 3380);
}

TEST(Twips, MinimumSizeNeverRoundsBelowItsTwips) {
  EXPECT_EQ(twips_to_pixels_at_least(3540, 96), 236);
  EXPECT_EQ(twips_to_pixels_at_least(4530, 96), 302);
  EXPECT_EQ(twips_to_pixels_at_least(3540, 120), 295);
  EXPECT_EQ(twips_to_pixels_at_least(4530, 120), 378);
  EXPECT_EQ(twips_to_pixels_at_least(4531, 144), 454);  // 453.1
  for (int dpi : {96, 120, 144, 192}) {
    for (int twips = 0; twips <= 12000; ++twips) {
      int pixels = twips_to_pixels_at_least(twips, dpi);
      // Enough pixels, and not one more than needed.
      ASSERT_GE(pixels * twips_per_inch, twips * dpi) << twips << " twips at " << dpi;
      ASSERT_LT((pixels - 1) * twips_per_inch, twips * dpi) << twips << " twips at " << dpi;
      ASSERT_GE(pixels_to_twips(pixels, dpi), twips) << twips << " twips at " << dpi;
    }
  }
}

}  // namespace
}  // namespace lorvane::app
