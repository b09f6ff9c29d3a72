// GUI_View: the base of every widget. A rectangle of the window with an optional background,
// border, image, title and custom drawing, the child views it owns, a layout rule for them and a
// set of callbacks.
//
// Units: constructor arguments, specs, padding, margins and cornerRadius are points; x, y, w, h,
// relX, relY, rectangles and borderWidth are drawable pixels (points × GUI_scale).
// Ownership: a view owns its children and (unless imageNotOwned) its image and title texture.
// Views are deleted by their owner, by their parent's destructor, or by the parent's draw pass
// after close().
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

enum {
    LAYOUT_FREE = 0,
    LAYOUT_ROW = 2,
    LAYOUT_COLUMN = 4,
};

enum {
    ALIGN_CENTER_H = 0x02,
    ALIGN_RIGHT = 0x04,
    ALIGN_CENTER_V = 0x10,
    ALIGN_BOTTOM = 0x20,
    ALIGN_ABSOLUTE = 0x40,
    // A view with any of these flags counts as aligned: when it grows to fit its children it asks
    // its own parent to lay out again.
    ALIGN_MASK = 0x36,
};

// Title placement bits of titleAlign (same values as the alignment flags).
enum {
    TITLE_CENTER_H = 0x02,
    TITLE_RIGHT = 0x04,
    TITLE_CENTER_V = 0x10,
    TITLE_BOTTOM = 0x20,
};

class GUI_View {
public:
    using DrawCallback = std::function<void(GUI_View*)>;
    using EventHandler = std::function<bool(GUI_View*, SDL_Event*)>;

    // x, y, w, h in points; w or h −1 = fill the parent, 0 = fit the children.
    GUI_View(GUI_View* parent, const char* title, int x, int y, int w, int h, SDL_Color bg,
             DrawCallback drawCallback = nullptr);
    GUI_View(const GUI_View&) = delete;
    GUI_View& operator=(const GUI_View&) = delete;
    virtual ~GUI_View();

    virtual void close();
    virtual void add_child(GUI_View* child);
    virtual void remove_child(GUI_View* child);
    virtual void remove_all_children();
    virtual bool handle_event(SDL_Event* e);
    virtual bool handle_custom_event(SDL_Event* e);
    virtual void begin_draw();
    virtual void draw();
    virtual void bring_to_front();
    virtual void move_by(int dx, int dy);                // pixels
    virtual void shift_by(int dx, int dy);               // pixels
    virtual void draw_background(const SDL_Rect* rect);  // view pixels, null = whole view
    // (x, y) in drawable pixels. deep: return the front-most descendant under the point.
    virtual GUI_View* hit_test(int x, int y, bool deep);
    // fontIndex −1 = the view's own (0 for a plain view).
    virtual void set_title(const std::string& text, int fontIndex = -1);
    virtual void layout_content();
    virtual void set_padding(int top, int right, int bottom, int left);  // points
    virtual void set_margin(int top, int right, int bottom, int left);   // points
    virtual void show();
    virtual void hide();
    virtual void enable();
    virtual void disable();
    virtual bool is_enabled() const { return !disabled; }
    virtual bool is_visible() const { return !hidden; }
    virtual bool was_drawn() const { return drawn; }
    virtual void set_size(int w, int h);  // points

    void update_layout();
    // Takes ownership of the texture unless notOwned; a null texture drops the current image.
    void set_image(SDL_Texture* texture, bool notOwned = false);
    void center_in_parent();
    void set_position(int x, int y);  // points
    void set_align_flags(int flags);

    // Whether `ancestor` is this view or one of its parents.
    bool is_descendant_of(const GUI_View* ancestor) const;
    int child_count() const { return lastChild + 1; }

    int xSpec, ySpec, wSpec, hSpec;   // points
    int minWidth = 0, minHeight = 0;  // pixels
    int layoutMode = LAYOUT_FREE;
    bool hidden = false, disabled = false, drawn = false;
    int borderWidth = 1;  // pixels
    SDL_Texture* image = nullptr;
    SDL_Rect imageRect = {0, 0, 0, 0};  // view pixels
    int iconGap = 5;                    // points
    int alignFlags = 0;
    std::string title;
    int x = 0, y = 0;        // drawable pixels, absolute
    int w = 0, h = 0;        // pixels
    int relX = 0, relY = 0;  // pixels, relative to the parent
    SDL_Color bgColor;
    int cornerRadius = 0;             // points
    std::vector<GUI_View*> children;  // owned, in drawing order
    int lastChild = -1;
    SDL_Rect clipRect = {0, 0, 0, 0};  // view pixels
    bool draggable = true;
    bool closeRequested = false;
    int tag = 0;
    GUI_View* parent = nullptr;  // not owning
    bool focused = false;
    bool dragging = false;
    int dragLastX = 0, dragLastY = 0;     // pixels
    SDL_Texture* titleTexture = nullptr;  // white, tinted when drawn
    SDL_Rect titleRect = {0, 0, 0, 0};    // view pixels
    SDL_Color titleColor;
    SDL_Color tintColor;
    int titleAlign = TITLE_CENTER_H | TITLE_CENTER_V;
    SDL_Color borderColor;
    int padding[4] = {0, 0, 0, 0};  // points: top, right, bottom, left
    int margin[4] = {0, 0, 0, 0};   // points: top, right, bottom, left
    DrawCallback drawCallback;
    EventHandler eventHandler;
    DrawCallback destroyCallback;
    bool imageNotOwned = false;
    bool interactive = true;

protected:
    // The font index set_title uses when given −1.
    virtual int default_font_index() const { return 0; }
    // Places the title texture by titleAlign (the base layout_content).
    void place_title();
    void layout_free();
    void layout_column();
    void layout_row();
    // The axis-generic parts of the layouts (Axis is defined in View.cpp).
    struct Axis;
    void layout_flow(const Axis& along, const Axis& across);
    // Places a child along one axis of the free layout; true when this view grew to fit it.
    bool place_free(GUI_View* child, const Axis& axis);
    bool is_aligned() const { return (alignFlags & ALIGN_MASK) != 0; }
    bool handle_mouse_event(SDL_Event* e, int mx, int my);
};

// The pointer position of a mouse event in drawable pixels (× GUI_mouseScale, truncated).
// Returns false for events that carry no pointer position.
bool GUI_EventPosition(const SDL_Event* e, int* x, int* y);
bool GUI_IsMouseEvent(const SDL_Event* e);
