// GUI_View. Sections: construction and destruction; children; title and image; geometry and
// visibility; drawing; event routing; layout (axes, free, row and column).
#include "gui/View.h"

#include <algorithm>

#include "gui/Draw.h"
#include "gui/Fonts.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {

bool isMouseType(Uint32 type) {
    return type == SDL_MOUSEMOTION || type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP;
}

SDL_Rect intersect(const SDL_Rect& a, const SDL_Rect& b) {
    SDL_Rect r;
    r.x = std::max(a.x, b.x);
    r.y = std::max(a.y, b.y);
    r.w = std::max(0, std::min(a.x + a.w, b.x + b.w) - r.x);
    r.h = std::max(0, std::min(a.y + a.h, b.y + b.h) - r.y);
    return r;
}

// Sets a view's specs to its current size while `fn` runs, so that a fitting or filling view is
// treated as fixed by the layout code it triggers.
template <class Fn>
void withFixedSpecs(GUI_View* v, Fn fn) {
    const int ws = v->wSpec, hs = v->hSpec;
    v->wSpec = v->w;
    v->hSpec = v->h;
    fn();
    v->wSpec = ws;
    v->hSpec = hs;
}

}  // namespace

bool GUI_IsMouseEvent(const SDL_Event* e) {
    return e != nullptr && isMouseType(e->type);
}

bool GUI_EventPosition(const SDL_Event* e, int* x, int* y) {
    int ex, ey;
    switch (e->type) {
        case SDL_MOUSEMOTION:
            ex = e->motion.x;
            ey = e->motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            ex = e->button.x;
            ey = e->button.y;
            break;
        default:
            return false;
    }
    *x = static_cast<int>(ex * GUI_mouseScale);
    *y = static_cast<int>(ey * GUI_mouseScale);
    return true;
}

// ---- construction and destruction ----

GUI_View::GUI_View(GUI_View* parent_, const char* title_, int x_, int y_, int w_, int h_,
                   SDL_Color bg, DrawCallback drawCallback_)
    : xSpec(x_),
      ySpec(y_),
      wSpec(w_),
      hSpec(h_),
      bgColor(bg),
      titleColor(GUI_Black),
      tintColor(GUI_NoColor),
      borderColor(GUI_Black),
      drawCallback(std::move(drawCallback_)) {
    const int s = GUI_scale;
    x = relX = x_ * s;
    y = relY = y_ * s;
    w = w_ == -1 ? -1 : w_ * s;
    h = h_ == -1 ? -1 : h_ * s;
    children.reserve(5);
    if (title_)
        title = title_;
    if (parent_)
        parent_->add_child(this);
    // A filling view that its parent did not size yet (no parent, or hidden) takes the whole
    // width for now; the parent's next layout pass gives the final width.
    if (wSpec == -1 && w < 0)
        w = parent_ ? parent_->w : GUI_windowWidth * s;
    place_title();
}

GUI_View::~GUI_View() {
    // Each child's destructor removes it from our list.
    while (lastChild >= 0) {
        GUI_View* c = children[lastChild];
        if (c->parent != this) {  // never expected; avoids an endless loop
            children.pop_back();
            --lastChild;
            continue;
        }
        delete c;
    }
    children.clear();
    children.shrink_to_fit();
    if (titleTexture)
        SDL_DestroyTexture(titleTexture);
    titleTexture = nullptr;
    if (image && !imageNotOwned)
        SDL_DestroyTexture(image);
    image = nullptr;
    if (GUI_mouseCapture == this)
        GUI_mouseCapture = nullptr;
    if (GUI_modalView == this) {
        GUI_modalView = nullptr;
        GUI_closeModalOnOutsideClick = true;
    }
    if (parent)
        parent->remove_child(this);
    if (destroyCallback)
        destroyCallback(this);
}

void GUI_View::close() {
    closeRequested = true;
}

// ---- children ----

void GUI_View::add_child(GUI_View* child) {
    child->parent = this;
    children.push_back(child);
    lastChild = static_cast<int>(children.size()) - 1;
    update_layout();
}

void GUI_View::remove_child(GUI_View* child) {
    for (int i = lastChild; i >= 0; --i) {
        if (children[i] == child) {
            children.erase(children.begin() + i);
            lastChild = static_cast<int>(children.size()) - 1;
            update_layout();
            return;
        }
    }
    GUI_LogPrint("*** ERROR: remove_child: child %p not found\n", static_cast<void*>(child));
}

void GUI_View::remove_all_children() {
    while (lastChild >= 0) {
        GUI_View* c = children[lastChild];
        if (c->parent != this) {
            children.pop_back();
            --lastChild;
            continue;
        }
        delete c;
    }
    children.clear();
    children.shrink_to_fit();
    lastChild = -1;
}

bool GUI_View::is_descendant_of(const GUI_View* ancestor) const {
    for (const GUI_View* v = this; v; v = v->parent)
        if (v == ancestor)
            return true;
    return false;
}

// ---- title and image ----

void GUI_View::place_title() {
    if (titleAlign & TITLE_CENTER_H)
        titleRect.x = (w - titleRect.w) / 2;
    if (titleAlign & TITLE_CENTER_V)
        titleRect.y = (h - titleRect.h) / 2;
}

void GUI_View::layout_content() {
    place_title();
}

void GUI_View::set_title(const std::string& text, int fontIndex) {
    title = text;
    if (titleTexture)
        SDL_DestroyTexture(titleTexture);
    titleTexture = nullptr;
    if (text.empty()) {
        titleRect = {w / 2, h / 2, 0, 0};
    } else {
        int tw = 0, th = 0;
        const int index = fontIndex < 0 ? default_font_index() : fontIndex;
        titleTexture = GUI_RenderText(GUI_Font(index), text, GUI_White, &tw, &th);
        if (titleTexture == nullptr) {
            GUI_LogPrint("CreateTitle Texture failed.\n");
            tw = th = 0;
        }
        titleRect = {(w - tw) / 2, (h - th) / 2, tw, th};
    }
    layout_content();
}

void GUI_View::set_image(SDL_Texture* texture, bool notOwned) {
    if (texture == nullptr) {
        if (image && !imageNotOwned)
            SDL_DestroyTexture(image);
        image = nullptr;
        return;
    }
    int tw = 0, th = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &tw, &th);
    // Setting the texture we already hold must not release it.
    if (image && image != texture && !imageNotOwned)
        SDL_DestroyTexture(image);
    image = texture;
    imageNotOwned = notOwned;
    imageRect = {0, 0, tw, th};
    layout_content();
}

// ---- geometry and visibility ----

void GUI_View::bring_to_front() {
    GUI_View* p = parent;
    if (!p)
        return;
    p->remove_child(this);
    p->add_child(this);
}

void GUI_View::move_by(int dx, int dy) {
    relX += dx;
    relY += dy;
    x += dx;
    y += dy;
    for (GUI_View* c : children)
        c->shift_by(dx, dy);
}

void GUI_View::shift_by(int dx, int dy) {
    x += dx;
    y += dy;
    for (GUI_View* c : children)
        c->shift_by(dx, dy);
}

void GUI_View::center_in_parent() {
    if (!parent)
        return;
    move_by((parent->w - w) / 2 - relX, (parent->h - h) / 2 - relY);
}

void GUI_View::set_position(int px, int py) {
    move_by(px * GUI_scale - relX, py * GUI_scale - relY);
}

void GUI_View::set_align_flags(int flags) {
    alignFlags = flags;
    if (parent)
        parent->update_layout();
}

void GUI_View::set_padding(int top, int right, int bottom, int left) {
    padding[0] = top;
    padding[1] = right;
    padding[2] = bottom;
    padding[3] = left;
    update_layout();
}

void GUI_View::set_margin(int top, int right, int bottom, int left) {
    margin[0] = top;
    margin[1] = right;
    margin[2] = bottom;
    margin[3] = left;
    if (parent) {
        parent->update_layout();
    } else if (this == GUI_TopView) {
        const int s = GUI_scale;
        if (xSpec == 0)
            x = relX = left * s;
        if (ySpec == 0)
            y = relY = top * s;
        if (wSpec == -1)
            w = (GUI_windowWidth - right - left) * s;
        if (hSpec == -1)
            h = (GUI_windowHeight - top - bottom) * s;
    }
}

void GUI_View::show() {
    hidden = false;
    drawn = false;
}

void GUI_View::hide() {
    hidden = true;
    drawn = false;
}

void GUI_View::enable() {
    disabled = false;
}
void GUI_View::disable() {
    disabled = true;
}

void GUI_View::set_size(int nw, int nh) {
    w = nw * GUI_scale;
    h = nh * GUI_scale;
}

GUI_View* GUI_View::hit_test(int px, int py, bool deep) {
    if (!is_visible() || !drawn)
        return nullptr;
    if (px < x || px >= x + w || py < y || py >= y + h)
        return nullptr;
    if (!deep)
        return this;
    for (int i = lastChild; i >= 0; --i) {
        if (i > lastChild)
            continue;
        if (GUI_View* v = children[i]->hit_test(px, py, true))
            return v;
    }
    return this;
}

// ---- drawing ----

void GUI_View::draw_background(const SDL_Rect* rect) {
    if (bgColor.a == 0)
        return;
    const SDL_Rect r = rect ? *rect : SDL_Rect{0, 0, w, h};
    if (cornerRadius)
        GUI_FillRoundRect(r.x, r.y, r.w, r.h, cornerRadius * GUI_scale, bgColor);
    else
        GUI_FillRect(r.x, r.y, r.w, r.h, bgColor);
}

void GUI_View::begin_draw() {
    if (!is_visible())
        return;
    const SDL_Rect own = {0, 0, std::max(w, 0), std::max(h, 0)};
    if (parent) {
        SDL_Rect pc = parent->clipRect;
        pc.x -= relX;
        pc.y -= relY;
        clipRect = intersect(pc, own);
    } else {
        clipRect = own;
    }
    if (GUI_renderer) {
        // The clip is cleared first: some renderers (SDL's OpenGL one) only recompute their
        // scissor box when the clip rectangle itself changes, and siblings of the same size
        // have equal view-relative clips.
        const SDL_Rect viewport = {x, y, std::max(w, 0), std::max(h, 0)};
        SDL_RenderSetClipRect(GUI_renderer, nullptr);
        SDL_RenderSetViewport(GUI_renderer, &viewport);
        SDL_RenderSetClipRect(GUI_renderer, &clipRect);
    }
    draw_background(nullptr);
}

void GUI_View::draw() {
    if (!is_visible())
        return;
    begin_draw();
    if (image && GUI_renderer) {
        if (tintColor.a)
            SDL_SetTextureColorMod(image, tintColor.r, tintColor.g, tintColor.b);
        SDL_RenderCopy(GUI_renderer, image, nullptr, &imageRect);
    }
    if (drawCallback)
        drawCallback(this);
    if (borderWidth > 0) {
        if (cornerRadius)
            GUI_DrawRoundRect(0, 0, w, h, cornerRadius * GUI_scale, borderColor);
        else
            GUI_DrawRect(0, 0, w, h, borderColor);
        const int b = borderWidth;
        clipRect =
            intersect(clipRect, SDL_Rect{b, b, std::max(0, w - 2 * b), std::max(0, h - 2 * b)});
        if (GUI_renderer)
            SDL_RenderSetClipRect(GUI_renderer, &clipRect);
    }
    if (titleTexture && titleColor.a && GUI_renderer) {
        const SDL_Color c = is_enabled() ? titleColor : GUI_Grey;
        SDL_SetTextureColorMod(titleTexture, c.r, c.g, c.b);
        SDL_RenderCopy(GUI_renderer, titleTexture, nullptr, &titleRect);
    }
}

// ---- event routing ----

bool GUI_View::handle_custom_event(SDL_Event*) {
    return false;
}

bool GUI_View::handle_event(SDL_Event* e) {
    if (e->type == GUI_EVENT_DRAW) {
        if (!is_visible())
            return false;
        draw();
        drawn = true;
        if (eventHandler && eventHandler(this, e))
            return true;
        for (int i = 0; i <= lastChild; ++i) {
            GUI_View* c = children[i];
            if (c->closeRequested) {
                if (c == GUI_modalView) {
                    GUI_modalView = nullptr;
                    GUI_closeModalOnOutsideClick = true;
                }
                if (GUI_mouseCapture && GUI_mouseCapture->is_descendant_of(c))
                    GUI_mouseCapture = nullptr;
                delete c;
                return false;
            }
            if (c->handle_event(e))
                return true;
        }
        return false;
    }

    if (e->type >= GUI_EVENT_CUSTOM_FIRST && handle_custom_event(e))
        return true;
    if (!interactive)
        return true;

    int mx = 0, my = 0;
    if (GUI_EventPosition(e, &mx, &my))
        return handle_mouse_event(e, mx, my);

    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        this == GUI_TopView) {
        const int nw = e->window.data1, nh = e->window.data2;
        GUI_LogPrint("Resize: %i, %i\n", nw, nh);
        set_size(nw - margin[1] - margin[3], nh - margin[2] - margin[0]);
        layout_content();
        update_layout();
    }

    if (eventHandler && eventHandler(this, e))
        return true;
    for (int i = lastChild; i >= 0; --i) {
        if (i > lastChild)
            continue;  // a handler removed children
        if (children[i]->handle_event(e))
            return true;
    }
    return false;
}

bool GUI_View::handle_mouse_event(SDL_Event* e, int mx, int my) {
    if (e->type == SDL_MOUSEMOTION && dragging) {
        if (parent && parent->hit_test(mx, my, false) == nullptr)
            return false;
        move_by(mx - dragLastX, my - dragLastY);
        dragLastX = mx;
        dragLastY = my;
        return true;
    }
    if (e->type == SDL_MOUSEBUTTONUP && dragging) {
        dragging = false;
        if (GUI_mouseCapture == this)
            GUI_mouseCapture = nullptr;
        GUI_LogPrint("%s End draging\n", title.c_str());
        return false;
    }
    for (int i = lastChild; i >= 0; --i) {
        if (i > lastChild)
            continue;
        GUI_View* c = children[i];
        if (!c->hit_test(mx, my, false))
            continue;
        if (c->handle_event(e))
            return true;
        if (e->type == SDL_MOUSEBUTTONDOWN && i <= lastChild && children[i] == c && c->draggable) {
            c->dragging = true;
            c->dragLastX = mx;
            c->dragLastY = my;
            GUI_LogPrint("%s Start draging\n", c->title.c_str());
            GUI_mouseCapture = c;
            return true;
        }
    }
    if (eventHandler)
        eventHandler(this, e);
    return false;
}

// ---- layout ----

// One direction of a layout: the fields of a view that hold its place, size and specs along that
// direction, the padding and margin entries at its start and end, and the alignment flags that
// centre a child or push it to the end. A row runs along the horizontal axis and stacks across
// the vertical one; a column the other way round; the free layout places each axis alone.
struct GUI_View::Axis {
    int GUI_View::*absField;     // x or y, drawable pixels
    int GUI_View::*relField;     // relX or relY
    int GUI_View::*sizeField;    // w or h
    int GUI_View::*specField;    // wSpec or hSpec
    int GUI_View::*originField;  // xSpec or ySpec
    int start, end;              // padding and margin indices: left/right or top/bottom
    int centreFlag, endFlag;

    int& abs(GUI_View* v) const { return v->*absField; }
    int& rel(GUI_View* v) const { return v->*relField; }
    int& size(GUI_View* v) const { return v->*sizeField; }
    int& sizeSpec(GUI_View* v) const { return v->*specField; }
    int origin(const GUI_View* v) const { return v->*originField; }
    // Margins of the child and padding of the parent on both sides, in points.
    int gaps(const GUI_View* child, const GUI_View* parent) const {
        return child->margin[start] + child->margin[end] + parent->padding[start] +
               parent->padding[end];
    }

    static const Axis horizontal, vertical;
};

// Fields, then padding and margin indices, then the centre and end flags.
const GUI_View::Axis GUI_View::Axis::horizontal = {
    &GUI_View::x,   &GUI_View::relX, &GUI_View::w, &GUI_View::wSpec, &GUI_View::xSpec, 3, 1,
    ALIGN_CENTER_H, ALIGN_RIGHT};
const GUI_View::Axis GUI_View::Axis::vertical = {
    &GUI_View::y,   &GUI_View::relY, &GUI_View::h, &GUI_View::hSpec, &GUI_View::ySpec, 0, 2,
    ALIGN_CENTER_V, ALIGN_BOTTOM};

void GUI_View::update_layout() {
    switch (layoutMode) {
        case LAYOUT_COLUMN:
            layout_column();
            break;
        case LAYOUT_ROW:
            layout_row();
            break;
        default:
            layout_free();
            break;
    }
}

void GUI_View::layout_row() {
    layout_flow(Axis::horizontal, Axis::vertical);
}

void GUI_View::layout_column() {
    layout_flow(Axis::vertical, Axis::horizontal);
}

void GUI_View::layout_free() {
    GUI_View* P = this;
    for (int i = 0; i <= lastChild; ++i) {
        GUI_View* C = children[i];
        if (!C->is_visible())
            continue;
        const bool grewAcross = place_free(C, Axis::horizontal);
        const bool grewDown = place_free(C, Axis::vertical);
        if (grewAcross || grewDown) {
            withFixedSpecs(P, [&] {
                P->layout_content();
                if (P->is_aligned() && P->parent)
                    P->parent->update_layout();
            });
        }
        C->update_layout();
    }
}

bool GUI_View::place_free(GUI_View* C, const Axis& a) {
    const int s = GUI_scale;
    GUI_View* P = this;
    if (C->alignFlags & a.endFlag) {
        a.rel(C) = a.size(P) - (C->margin[a.end] + P->padding[a.end]) * s - a.size(C);
    } else if (C->alignFlags & a.centreFlag) {
        a.rel(C) = (a.size(P) - a.size(C)) / 2;
    } else {
        if (!(C->alignFlags & ALIGN_ABSOLUTE))
            a.rel(C) = s * (a.origin(C) ? a.origin(C) : C->margin[a.start] + P->padding[a.start]);
        if (a.sizeSpec(C) == -1) {
            a.size(C) = a.size(P) - (C->margin[a.end] + P->padding[a.end]) * s - a.rel(C);
            C->layout_content();
        }
    }
    a.abs(C) = a.abs(P) + a.rel(C);
    if (a.sizeSpec(P) == 0) {
        const int need = a.gaps(C, P) * s + a.size(C);
        if (need > a.size(P)) {
            a.size(P) = need;
            return true;
        }
    }
    return false;
}

// Children in order along `along` (the flow), each placed on its own across the other axis.
// Children aligned to the centre of the flow form one centred group; children aligned to its end
// pile up from the end, pushing earlier end-aligned ones back and taking their room from the
// nearest earlier filling child.
void GUI_View::layout_flow(const Axis& along, const Axis& across) {
    const Axis& m = along;
    const Axis& c = across;
    const int s = GUI_scale;
    GUI_View* P = this;
    const int lengthBefore = m.size(P);
    int cursor = P->padding[m.start] * s;
    if (m.sizeSpec(P) == 0)
        m.size(P) = cursor;
    for (int i = 0; i <= lastChild; ++i) {
        GUI_View* C = children[i];
        if (!C->is_visible())
            continue;
        // A filling child outside the flow (centred, at the end or absolute) takes the whole
        // inner length; one in the flow fills from its place below.
        const bool inFlow = !(C->alignFlags & (m.centreFlag | m.endFlag | ALIGN_ABSOLUTE));
        if (!inFlow && m.sizeSpec(C) == -1) {
            m.size(C) = m.size(P) - m.gaps(C, P) * s;
            C->layout_content();
        }
        if (C->alignFlags & ALIGN_ABSOLUTE) {
            // Left where it is, but it follows its parent.
            C->x = P->x + C->relX;
            C->y = P->y + C->relY;
            C->update_layout();
            continue;
        }

        if (C->alignFlags & m.centreFlag) {
            m.rel(C) = (m.size(P) - m.size(C)) / 2;
            for (int j = i - 1; j >= 0; --j) {
                GUI_View* sib = children[j];
                if (!sib->is_visible() || !(sib->alignFlags & m.centreFlag))
                    continue;
                m.rel(sib) -= m.size(C) / 2;
                m.abs(sib) -= m.size(C) / 2;
                m.rel(C) += m.size(sib) / 2;
                sib->update_layout();  // its children follow it
            }
        } else if (C->alignFlags & m.endFlag) {
            m.rel(C) = m.size(P) - (P->padding[m.end] + C->margin[m.end]) * s - m.size(C);
            const int d = (C->margin[m.start] + C->margin[m.end]) * s + m.size(C);
            for (int j = i - 1; j >= 0; --j) {
                GUI_View* sib = children[j];
                if (!sib->is_visible() || (sib->alignFlags & ALIGN_ABSOLUTE))
                    continue;
                if (sib->alignFlags & m.endFlag) {
                    m.rel(sib) -= d;
                    m.abs(sib) -= d;
                    withFixedSpecs(sib, [&] { sib->layout_content(); });
                    sib->update_layout();
                } else if (sib->alignFlags & m.centreFlag) {
                    continue;
                } else if (m.sizeSpec(sib) == -1) {
                    // A wanted size of −2 keeps a layout pass that this one sets off from filling
                    // the sibling up again.
                    m.size(sib) -= d;
                    m.sizeSpec(sib) = -2;
                    sib->layout_content();
                    sib->update_layout();
                    m.sizeSpec(sib) = -1;
                    break;
                }
            }
        } else {
            m.rel(C) = C->margin[m.start] * s + cursor;
            if (m.sizeSpec(C) == -1) {
                m.size(C) = m.size(P) - (C->margin[m.end] + P->padding[m.end]) * s - m.rel(C);
                C->layout_content();
            }
            cursor += (C->margin[m.start] + C->margin[m.end]) * s + m.size(C);
            if (m.sizeSpec(P) == 0)
                m.size(P) = cursor;
        }
        m.abs(C) = m.abs(P) + m.rel(C);

        if (c.sizeSpec(P) == 0) {
            const int need = c.gaps(C, P) * s + c.size(C);
            if (need > c.size(P)) {
                c.size(P) = need;
                if (P->parent) {
                    c.sizeSpec(P) = need;
                    P->parent->update_layout();
                    c.sizeSpec(P) = 0;
                }
            }
        }

        if (C->alignFlags & c.endFlag) {
            c.rel(C) = c.size(P) - (C->margin[c.end] + P->padding[c.end]) * s - c.size(C);
        } else if (C->alignFlags & c.centreFlag) {
            c.rel(C) = (c.size(P) - c.size(C)) / 2;
        } else {
            c.rel(C) = (C->margin[c.start] + P->padding[c.start]) * s;
            if (c.sizeSpec(C) == -1) {
                c.size(C) = c.size(P) - c.gaps(C, P) * s;
                withFixedSpecs(C, [&] { C->layout_content(); });
            }
        }
        c.abs(C) = c.abs(P) + c.rel(C);
        C->update_layout();
    }
    if (m.sizeSpec(P) == 0) {
        m.size(P) += P->padding[m.end] * s;
        if (m.size(P) != lengthBefore && P->is_aligned() && P->parent)
            withFixedSpecs(P, [&] { P->parent->update_layout(); });
    }
}
