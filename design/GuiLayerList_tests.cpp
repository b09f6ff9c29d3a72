// The document on a real GUI_List: cells follow the layers, styled as layer cells, with icons
// from the layers' own textures.

#include <gtest/gtest.h>

#include <SDL.h>

#include "design/Document.h"
#include "design/DocumentTestLayers.h"
#include "design/GuiLayerList.h"
#include "design/StitchRenderer.h"
#include "formats/ThreadPalette.h"
#include "gui/Globals.h"
#include "gui/List.h"
#include "gui/Log.h"

namespace {

TEST(GuiLayerList, CellsFollowTheLayers) {
    logThreshold = 5;
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Window* w = SDL_CreateWindow("t", 0, 0, 300, 300, SDL_WINDOW_HIDDEN);
    GUI_renderer = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    ASSERT_NE(GUI_renderer, nullptr);
    {
        GUI_List list(nullptr, 0, 0, 200, 300, 40, nullptr, nullptr);
        GuiLayerList host(&list);
        host.displayModeOf = [] { return 2; };
        Document doc(host);
        for (int i = 0; i < 3; ++i)
            doc.appendLayer(testlayers::line(0, 0, 10 * (i + 1), 10, 5 + i), "layer");
        ASSERT_EQ(list.getCount(), 3);
        EXPECT_EQ(list.selectedIndex, 2);
        EXPECT_TRUE(list.getCell(0)->swatch);
        EXPECT_EQ(list.getCell(0)->borderColor.r, 160);
        EXPECT_FLOAT_EQ(doc.layers[0].offScreenScale, 1.0f);  // the display mode reached it
        doc.setSwatchFromColor(1, 19);
        EXPECT_EQ(list.getCell(1)->swatchColor.r, threadColor(20).r);
        doc.removeLayer(0);
        EXPECT_EQ(list.getCount(), 2);
        EXPECT_TRUE(doc.checkLayerCount());
        doc.swapLayers(0, 1);
        EXPECT_EQ(list.selectedIndex, 1);
        const SDL_Rect dst = {0, 0, 20, 20};
        host.drawIcon(0, dst);  // draws from the layer's own texture
        host.drawIcon(9, dst);  // no such cell: nothing
        doc.removeAllLayers();
        EXPECT_EQ(list.getCount(), 0);
    }
    stitchrender::releaseStitchResources();
    SDL_DestroyRenderer(GUI_renderer);
    GUI_renderer = nullptr;
    SDL_DestroyWindow(w);
    SDL_Quit();
}

}  // namespace
