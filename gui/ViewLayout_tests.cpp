// The layouts of GUI_View. Rows and columns are one rule along different axes, so most cases run
// once for each: a row's right is a column's bottom, a row's vertical centring a column's
// horizontal one.
#include "gui/ToolkitTestFixture.h"
#include "gui/View.h"

namespace {

GUI_View* panel(GUI_View* parent, int x, int y, int w, int h) {
    auto* v = new GUI_View(parent, "panel", x, y, w, h, GUI_NoColor);
    v->borderWidth = 0;
    return v;
}

// One flow direction, described in the terms of the flow: "along" is the direction children
// follow each other in, "across" the other one.
struct Flow {
    const char* name;
    int mode;
    bool alongX;
    int endFlag, centreFlag;              // along the flow
    int acrossEndFlag, acrossCentreFlag;  // across it

    // A panel of the given length along and breadth across the flow (points, −1 fill, 0 fit).
    GUI_View* box(GUI_View* parent, int along, int across) const {
        return alongX ? panel(parent, 0, 0, along, across) : panel(parent, 0, 0, across, along);
    }
    GUI_View* flow(GUI_View* parent, int along, int across) const {
        GUI_View* v = box(parent, along, across);
        v->draggable = false;
        v->layoutMode = mode;
        return v;
    }
    int pos(const GUI_View* v) const { return alongX ? v->relX : v->relY; }
    int absPos(const GUI_View* v) const { return alongX ? v->x : v->y; }
    int length(const GUI_View* v) const { return alongX ? v->w : v->h; }
    int crossPos(const GUI_View* v) const { return alongX ? v->relY : v->relX; }
    int breadth(const GUI_View* v) const { return alongX ? v->h : v->w; }
    void setMargin(GUI_View* v, int start, int end) const {
        alongX ? v->set_margin(0, end, 0, start) : v->set_margin(start, 0, end, 0);
    }
    void setCrossMargin(GUI_View* v, int start, int end) const {
        alongX ? v->set_margin(start, 0, end, 0) : v->set_margin(0, end, 0, start);
    }
    void setPadding(GUI_View* v, int start, int end) const {
        alongX ? v->set_padding(0, end, 0, start) : v->set_padding(start, 0, end, 0);
    }
    void setCrossPadding(GUI_View* v, int start, int end) const {
        alongX ? v->set_padding(start, 0, end, 0) : v->set_padding(0, end, 0, start);
    }
};

const Flow kRow = {"Row",          LAYOUT_ROW,   true,          ALIGN_RIGHT,
                   ALIGN_CENTER_H, ALIGN_BOTTOM, ALIGN_CENTER_V};
const Flow kColumn = {"Column",       LAYOUT_COLUMN, false,         ALIGN_BOTTOM,
                      ALIGN_CENTER_V, ALIGN_RIGHT,   ALIGN_CENTER_H};

void PrintTo(const Flow& f, std::ostream* os) {
    *os << f.name;
}

class FlowLayoutTest : public ToolkitFixture, public ::testing::WithParamInterface<Flow> {};

TEST_P(FlowLayoutTest, ChildrenFollowEachOtherWithMarginsAndTheFlowFitsThem) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 0, 100);
    f.setPadding(p, 5, 4);
    GUI_View* a = f.box(p, 20, 50);
    f.setMargin(a, 2, 3);
    GUI_View* b = f.box(p, 30, 50);
    f.setMargin(b, 2, 3);
    EXPECT_EQ(f.pos(a), 7);
    EXPECT_EQ(f.pos(b), 32);
    EXPECT_EQ(f.absPos(b), f.absPos(p) + 32);
    EXPECT_EQ(f.length(p), 5 + 25 + 35 + 4);
}

TEST_P(FlowLayoutTest, EndAlignedChildrenPileUpFromTheEndAndTakeTheirChildrenAlong) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 300, 40);
    f.setPadding(p, 5, 5);
    GUI_View* first = f.box(p, 30, 20);
    first->set_align_flags(f.endFlag);
    GUI_View* inner = panel(first, 2, 3, 5, 5);
    GUI_View* second = f.box(p, 50, 20);
    f.setMargin(second, 6, 4);
    second->set_align_flags(f.endFlag);
    EXPECT_EQ(f.pos(second), 300 - (4 + 5) - 50);
    EXPECT_EQ(f.pos(first), 300 - 5 - 30 - (6 + 4 + 50));
    EXPECT_EQ(f.absPos(first), f.absPos(p) + f.pos(first));
    EXPECT_EQ(inner->x, first->x + 2);
    EXPECT_EQ(inner->y, first->y + 3);
}

TEST_P(FlowLayoutTest, CentredChildrenFormOneCentredGroupAndTakeTheirChildrenAlong) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 100, 60);
    GUI_View* a = f.box(p, 20, 50);
    GUI_View* inner = panel(a, 2, 3, 5, 5);
    GUI_View* b = f.box(p, 40, 50);
    a->alignFlags = f.centreFlag;
    b->alignFlags = f.centreFlag;
    p->update_layout();
    EXPECT_EQ(f.pos(a), 20);
    EXPECT_EQ(f.pos(b), 40);
    EXPECT_EQ(inner->x, a->x + 2) << "the moved child's own children follow it at once";
    EXPECT_EQ(inner->y, a->y + 3);
}

TEST_P(FlowLayoutTest, FillingChildGivesWayToEndAlignedChild) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 200, 100);
    GUI_View* fill = f.box(p, -1, -1);
    EXPECT_EQ(f.length(fill), 200);
    EXPECT_EQ(f.breadth(fill), 100);
    GUI_View* end = f.box(p, 30, 100);
    f.setMargin(end, 2, 3);
    end->set_align_flags(f.endFlag);
    EXPECT_EQ(f.pos(end), 200 - 3 - 30);
    EXPECT_EQ(f.length(fill), 200 - (2 + 3 + 30));
}

// The child centred across the flow is in the flow like any other and gives way; the child
// centred along it is not, and keeps the whole length.
TEST_P(FlowLayoutTest, OnlyChildrenInTheFlowGiveWayToEndAlignedChild) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 200, 100);
    GUI_View* fill = f.box(p, -1, 40);
    fill->set_align_flags(f.acrossCentreFlag);
    GUI_View* centred = f.box(p, -1, 20);
    centred->set_align_flags(f.centreFlag);
    GUI_View* end = f.box(p, 30, 100);
    end->set_align_flags(f.endFlag);
    EXPECT_EQ(f.length(fill), 200 - 30);
    EXPECT_EQ(f.crossPos(fill), (100 - 40) / 2);
    EXPECT_EQ(f.length(centred), 200);
    EXPECT_EQ(f.pos(centred), 0);
}

TEST_P(FlowLayoutTest, FillingChildOutsideTheFlowTakesTheInnerLength) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 200, 100);
    f.setPadding(p, 5, 5);
    f.box(p, 50, 20);
    GUI_View* end = f.box(p, -1, 20);
    f.setMargin(end, 2, 3);
    end->set_align_flags(f.endFlag);
    EXPECT_EQ(f.length(end), 200 - (5 + 2 + 3 + 5)) << "not what the flow left over";
    EXPECT_EQ(f.pos(end), 5 + 2);
}

TEST_P(FlowLayoutTest, ChildrenAcrossTheFlowSitAtStartCentreOrEndOrFill) {
    const Flow& f = GetParam();
    struct Case {
        const char* what;
        int flags, breadth, pos, resultBreadth;
    };
    // Parent breadth 100 with padding 3 and 4, child margins 2 and 6.
    const Case cases[] = {
        {"start", 0, 30, 3 + 2, 30},
        {"centre", f.acrossCentreFlag, 30, (100 - 30) / 2, 30},
        {"end", f.acrossEndFlag, 30, 100 - (6 + 4) - 30, 30},
        {"fill", 0, -1, 3 + 2, 100 - (3 + 2 + 6 + 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GUI_View* p = f.flow(GUI_TopView, 200, 100);
        f.setCrossPadding(p, 3, 4);
        GUI_View* child = f.box(p, 20, c.breadth);
        f.setCrossMargin(child, 2, 6);
        child->set_align_flags(c.flags);
        EXPECT_EQ(f.crossPos(child), c.pos);
        EXPECT_EQ(f.breadth(child), c.resultBreadth);
        EXPECT_EQ(f.pos(child), 0) << "in the flow whatever its place across it";
        GUI_TopView->remove_all_children();
    }
}

TEST_P(FlowLayoutTest, FittingFlowGrowsAcrossToItsBroadestChild) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 200, 0);
    f.setCrossPadding(p, 1, 2);
    f.box(p, 20, 30);
    GUI_View* broad = f.box(p, 20, 50);
    f.setCrossMargin(broad, 3, 4);
    f.box(p, 20, 10);
    EXPECT_EQ(f.breadth(p), 1 + 3 + 50 + 4 + 2);
}

// A flow that fits its length and sits at the end of a free parent stays at the end when a new
// child makes it longer.
TEST_P(FlowLayoutTest, AlignedFittingFlowIsPlacedAgainWhenItGrows) {
    const Flow& f = GetParam();
    GUI_View* holder = panel(GUI_TopView, 0, 0, 300, 300);
    GUI_View* p = f.flow(holder, 0, 40);
    p->set_align_flags(f.endFlag);
    f.box(p, 40, 20);
    EXPECT_EQ(f.length(p), 40);
    EXPECT_EQ(f.pos(p), 300 - 40);
    f.box(p, 60, 20);
    EXPECT_EQ(f.length(p), 100);
    EXPECT_EQ(f.pos(p), 300 - 100);
}

TEST_P(FlowLayoutTest, HiddenChildrenTakeNoRoom) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 0, 40);
    GUI_View* hidden = f.box(p, 50, 20);
    hidden->hide();
    GUI_View* shown = f.box(p, 30, 20);
    EXPECT_EQ(f.pos(shown), 0);
    EXPECT_EQ(f.length(p), 30);
}

TEST_P(FlowLayoutTest, AbsoluteChildStaysWhereItWasPutAndFollowsItsParent) {
    const Flow& f = GetParam();
    GUI_View* p = f.flow(GUI_TopView, 200, 200);
    GUI_View* abs = f.box(p, 20, 20);
    abs->set_align_flags(ALIGN_ABSOLUTE);
    abs->move_by(50, 60);
    GUI_View* next = f.box(p, 20, 20);
    EXPECT_EQ(abs->relX, 50);
    EXPECT_EQ(abs->relY, 60);
    EXPECT_EQ(f.pos(next), 0) << "takes no room in the flow";
    p->move_by(5, 5);
    p->update_layout();
    EXPECT_EQ(abs->x, p->x + 50);
    EXPECT_EQ(abs->y, p->y + 60);
}

class FlowLayoutTestScale2 : public ToolkitFixtureScale2,
                             public ::testing::WithParamInterface<Flow> {};

TEST_P(FlowLayoutTestScale2, PositionsAndSizesAreScaled) {
    const Flow& f = GetParam();
    GUI_View* holder = panel(GUI_TopView, 10, 20, 300, 300);
    GUI_View* p = f.flow(holder, 0, 100);
    f.setPadding(p, 5, 4);
    GUI_View* a = f.box(p, 20, 50);
    f.setMargin(a, 2, 3);
    GUI_View* b = f.box(p, 30, -1);
    f.setMargin(b, 2, 3);
    EXPECT_EQ(p->x, 20);
    EXPECT_EQ(p->y, 40);
    EXPECT_EQ(f.pos(a), 14);
    EXPECT_EQ(f.pos(b), 64);
    EXPECT_EQ(f.absPos(b), f.absPos(p) + 64);
    EXPECT_EQ(f.breadth(a), 100);
    EXPECT_EQ(f.breadth(b), 200);
    EXPECT_EQ(f.length(p), 2 * (5 + 25 + 35 + 4));
}

const auto kFlowName = [](const ::testing::TestParamInfo<Flow>& info) {
    return std::string(info.param.name);
};
INSTANTIATE_TEST_SUITE_P(RowAndColumn, FlowLayoutTest, ::testing::Values(kRow, kColumn), kFlowName);
INSTANTIATE_TEST_SUITE_P(RowAndColumn, FlowLayoutTestScale2, ::testing::Values(kRow, kColumn),
                         kFlowName);

// ---- free layout ----

using FreeLayoutTest = ToolkitFixture;

TEST_F(FreeLayoutTest, UsesSpecsPaddingFillAndAlignment) {
    GUI_View* p = panel(GUI_TopView, 0, 0, 200, 100);
    p->set_padding(10, 10, 10, 10);
    GUI_View* placed = panel(p, 30, 40, 20, 20);
    GUI_View* fill = panel(p, 0, 0, -1, 20);
    GUI_View* right = panel(p, 0, 0, 20, 20);
    right->set_align_flags(ALIGN_RIGHT | ALIGN_BOTTOM);
    GUI_View* centred = panel(p, 0, 0, 20, 30);
    centred->set_align_flags(ALIGN_CENTER_H | ALIGN_CENTER_V);
    EXPECT_EQ(placed->relX, 30);
    EXPECT_EQ(placed->relY, 40);
    EXPECT_EQ(fill->relX, 10);
    EXPECT_EQ(fill->w, 200 - 10 - 10);
    EXPECT_EQ(right->relX, 200 - 10 - 20);
    EXPECT_EQ(right->relY, 100 - 10 - 20);
    EXPECT_EQ(centred->relX, (200 - 20) / 2);
    EXPECT_EQ(centred->relY, (100 - 30) / 2);
    EXPECT_EQ(centred->y, p->y + centred->relY);
}

TEST_F(FreeLayoutTest, FittingParentGrowsAndAnAlignedOneIsPlacedAgain) {
    GUI_View* holder = panel(GUI_TopView, 0, 0, 300, 200);
    GUI_View* p = panel(holder, 0, 0, 0, 0);
    p->set_padding(1, 2, 3, 4);
    p->set_align_flags(ALIGN_RIGHT);
    GUI_View* child = panel(p, 0, 0, 40, 30);
    child->set_margin(5, 6, 7, 8);
    EXPECT_EQ(p->w, 4 + 8 + 40 + 6 + 2);
    EXPECT_EQ(p->h, 1 + 5 + 30 + 7 + 3);
    EXPECT_EQ(p->relX, 300 - p->w);
    EXPECT_EQ(child->relX, 4 + 8);
    EXPECT_EQ(child->relY, 1 + 5);
}

}  // namespace
