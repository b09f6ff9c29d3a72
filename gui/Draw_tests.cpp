// Drawing primitives, image paths and the shared render targets.
#include "gui/Draw.h"

#include <SDL_image.h>

#include <boost/filesystem.hpp>

#include "gui/ToolkitTestFixture.h"

namespace {

using DrawTest = ToolkitFixture;

void clearTo(SDL_Color c) {
    SDL_RenderSetViewport(GUI_renderer, nullptr);
    SDL_RenderSetClipRect(GUI_renderer, nullptr);
    SDL_SetRenderDrawBlendMode(GUI_renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(GUI_renderer, c.r, c.g, c.b, c.a);
    SDL_RenderClear(GUI_renderer);
}

TEST_F(DrawTest, OpaqueFillReplacesTranslucentFillBlends) {
    clearTo(GUI_White);
    GUI_FillRect(0, 0, 10, 10, SDL_Color{0, 0, 0, 255});
    GUI_FillRect(20, 0, 10, 10, SDL_Color{0, 0, 0, 254});
    GUI_FillRect(40, 0, 10, 10, SDL_Color{0, 0, 0, 128});
    EXPECT_EQ(pixel(5, 5), GUI_Black);
    EXPECT_LE(pixel(25, 5).r, 2);
    EXPECT_NEAR(pixel(45, 5).r, 127, 2) << "half transparent black over white";
    EXPECT_EQ(pixel(15, 5), GUI_White);
}

TEST_F(DrawTest, FillsUseTheViewportOfTheView) {
    clearTo(GUI_White);
    const SDL_Rect viewport = {100, 50, 40, 40};
    SDL_RenderSetViewport(GUI_renderer, &viewport);
    GUI_FillRect(0, 0, 5, 5, GUI_Red);
    EXPECT_EQ(pixel(102, 52), GUI_Red);
    EXPECT_EQ(pixel(2, 2), GUI_White);
}

TEST_F(DrawTest, RoundRectWithoutShapeTexturesClampsTheRadius) {
    ASSERT_FALSE(GUI_ShapeTexturesReady());
    clearTo(GUI_White);
    GUI_FillRoundRect(10, 10, 60, 30, 40, GUI_Black);  // radius 40 becomes 15
    EXPECT_EQ(pixel(40, 25), GUI_Black);
    EXPECT_EQ(pixel(10 + 15, 10), GUI_Black) << "top edge starts after the corner";
    EXPECT_EQ(pixel(10 + 1, 10 + 1), GUI_White) << "corner left open";
    EXPECT_EQ(pixel(10, 10 + 15), GUI_Black) << "left edge at the corner's end";
    EXPECT_EQ(pixel(10 + 59, 10 + 15), GUI_Black);
    EXPECT_EQ(pixel(10 + 60, 10 + 15), GUI_White) << "nothing right of the box";
    EXPECT_EQ(pixel(10 + 30, 10 + 30), GUI_White) << "nothing below the box";
}

TEST_F(DrawTest, CirclesWithAndWithoutShapeTextures) {
    clearTo(GUI_White);
    GUI_FillCircle(50, 50, 10, GUI_Black);
    EXPECT_EQ(pixel(50, 50), GUI_Black);
    EXPECT_EQ(pixel(50, 41), GUI_Black);
    EXPECT_EQ(pixel(42, 42), GUI_White);
    if (!haveIconFont())
        GTEST_SKIP() << "no icon font in data/";
    ASSERT_TRUE(GUI_InitShapeTextures());
    EXPECT_TRUE(GUI_InitShapeTextures()) << "a second call keeps the textures";
    clearTo(GUI_White);
    GUI_FillCircle(50, 50, 20, GUI_Black);
    EXPECT_EQ(pixel(50, 50), GUI_Black);
    EXPECT_EQ(pixel(32, 32), GUI_White);
    GUI_FillRoundRect(100, 100, 80, 40, 10, GUI_Red);
    EXPECT_EQ(pixel(140, 120), GUI_Red);
    EXPECT_EQ(pixel(105, 120), GUI_Red);
    EXPECT_EQ(pixel(100, 100), GUI_White);
    GUI_FreeShapeTextures();
    EXPECT_FALSE(GUI_ShapeTexturesReady());
}

TEST_F(DrawTest, RotatedSquareIsADiamond) {
    clearTo(GUI_White);
    GUI_FillRotatedSquare(50, 50, 20, GUI_Red);
    EXPECT_EQ(pixel(50, 50), GUI_Red);
    EXPECT_EQ(pixel(50, 37), GUI_Red) << "a corner points up beyond the square's half side";
    EXPECT_EQ(pixel(41, 41), GUI_White) << "the square's own corner is cut off";
}

TEST_F(DrawTest, FillScreenIgnoresTheViewportAndRestoresIt) {
    clearTo(GUI_White);
    const SDL_Rect viewport = {100, 50, 40, 40};
    SDL_RenderSetViewport(GUI_renderer, &viewport);
    GUI_FillScreen(GUI_Red);
    SDL_Rect after;
    SDL_RenderGetViewport(GUI_renderer, &after);
    EXPECT_EQ(after.x, 100);
    EXPECT_EQ(after.w, 40);
    EXPECT_EQ(pixel(1, 1), GUI_Red);
    EXPECT_EQ(pixel(399, 299), GUI_Red);
}

TEST(DrawPaths, ScaledImageNames) {
    EXPECT_EQ(GUI_ScaledImageName("a.png.png", 2), "a@2x.png@2x.png");
    EXPECT_EQ(GUI_ScaledImageName("icons/open.png", 2), "icons/open@2x.png");
    EXPECT_EQ(GUI_ScaledImageName("icons/open.png", 1), "icons/open.png");
    EXPECT_EQ(GUI_ScaledImageName("photo.jpg", 3), "photo.jpg");
}

TEST(DrawPaths, ResourcePathBesideOrAboveTheBinFolder) {
    EXPECT_EQ(GUI_ResourcePathFor("/nowhere/app/bin/"), "/nowhere/app/data/");
    EXPECT_EQ(GUI_ResourcePathFor("/nowhere/app/"), "/nowhere/app/data/");
    EXPECT_EQ(GUI_ResourcePathFor("/nowhere/app/bin"), "/nowhere/app/data/");
    EXPECT_EQ(GUI_ResourcePathFor("/nowhere/cabinet/bin/x/"), "/nowhere/cabinet/data/")
        << "only a whole \"bin\" folder counts";
    EXPECT_EQ(GUI_ResourcePathFor("/nowhere/cabinet/"), "/nowhere/cabinet/data/");
    // A data folder right beside the executable wins.
    const std::string here = std::string(MES_SOURCE_DIR) + "/";
    EXPECT_EQ(GUI_ResourcePathFor(here), here + "data/");
}

TEST(DrawPaths, ResourcePathOfAnInstalledProgramIsShareMes) {
    namespace fs = boost::filesystem;
    const fs::path prefix = fs::temp_directory_path() / fs::unique_path("mes-prefix-%%%%-%%%%");
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "mes");
    EXPECT_EQ(GUI_ResourcePathFor((prefix / "bin").string()),
              (prefix / "share" / "mes").string() + "/");
    fs::remove_all(prefix);
}

TEST_F(DrawTest, LoadImageTakesAbsolutePathsAsTheyAre) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 7, 5, 32, SDL_PIXELFORMAT_RGBA8888);
    ASSERT_NE(s, nullptr);
    const std::string path = testing::TempDir() + "draw_test_image.png";
    ASSERT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
    SDL_Texture* t = GUI_LoadImage(path);
    ASSERT_NE(t, nullptr);
    int w = 0, h = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
    SDL_DestroyTexture(t);
    SDL_Texture* scaled = GUI_LoadImageScaled(path);
    EXPECT_NE(scaled, nullptr);
    SDL_DestroyTexture(scaled);
    EXPECT_EQ(GUI_LoadImage(testing::TempDir() + "no_such_image.png"), nullptr);
    EXPECT_EQ(GUI_LoadImageScaled("no_such_folder/no_such_image.png"), nullptr);
}

TEST_F(DrawTest, SmartTexturesAreSharedByIndex) {
    EXPECT_EQ(SDLSmartTexture::get(0), nullptr);
    auto first = SDLSmartTexture::add(0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isValid());
    int w = 0, h = 0;
    SDL_QueryTexture(first->texture, nullptr, nullptr, &w, &h);
    EXPECT_EQ(w, 2048);
    EXPECT_EQ(h, 2048);
    EXPECT_EQ(SDLSmartTexture::add(0), first) << "an existing entry is reused";
    EXPECT_EQ(SDLSmartTexture::get(0), first);
    auto fifth = SDLSmartTexture::add(5);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(SDLSmartTexture::get(5), fifth) << "kept at its own index";
    EXPECT_EQ(SDLSmartTexture::get(3), nullptr);
    SDLSmartTexture::clear();
    EXPECT_EQ(SDLSmartTexture::get(0), nullptr);
}

}  // namespace
