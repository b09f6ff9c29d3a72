#include "gui/Slider.h"

#include <algorithm>
#include <cmath>

#include "gui/Draw.h"
#include "gui/Globals.h"
#include "gui/Log.h"

namespace {
const Uint32 kClickMs = 200;

void drawTexture(SDL_Texture* t, const SDL_Rect& r, SDL_Color tint) {
    if (!t || !GUI_renderer)
        return;
    SDL_SetTextureColorMod(t, tint.r, tint.g, tint.b);
    if (tint.a < 255)
        SDL_SetTextureAlphaMod(t, tint.a);
    SDL_RenderCopy(GUI_renderer, t, nullptr, &r);
}
}  // namespace

GUI_Slider::GUI_Slider(GUI_View* parent, int x, int y, int w, int h, float v, int knob)
    : GUI_View(parent, "Slider", x, y, w, h, GUI_NoColor, nullptr), knobRadius(knob) {
    borderWidth = 0;
    draggable = false;
    trackLength = w * GUI_scale;
    trackThickness = h * GUI_scale;
    value = std::clamp(v, 0.0f, 1.0f);
}

GUI_Slider::~GUI_Slider() {
    for (SDL_Texture*& t : decorations) {
        if (t)
            SDL_DestroyTexture(t);
        t = nullptr;
    }
}

void GUI_Slider::set_decoration(int index, SDL_Texture* texture, SDL_Rect rect, SDL_Color tint) {
    if (index < 0 || index > 2)
        return;
    if (decorations[index] && decorations[index] != texture)
        SDL_DestroyTexture(decorations[index]);
    decorations[index] = texture;
    decorationRects[index] = rect;
    decorationTints[index] = tint;
}

bool GUI_Slider::set_value(float v, bool notify) {
    const float delta = std::fabs(v - value);
    value = std::clamp(v, 0.0f, 1.0f);
    if (onChange && delta > 0.001f && notify) {
        ValueCallback cb = onChange;
        cb(this, value);
    }
    return delta > 0.001f;
}

int GUI_Slider::knob_center() const {
    const int R = knobRadius * GUI_scale;
    const int c = trackX + static_cast<int>(trackLength * value);
    return std::clamp(c, trackX + R, std::max(trackX + R, trackX + trackLength - R));
}

float GUI_Slider::value_at(int mx, int) const {
    if (trackLength <= 0)
        return value;
    return static_cast<float>(mx - (x + trackX)) / static_cast<float>(trackLength);
}

bool GUI_Slider::in_knob_box(int mx, int my) const {
    const int R = knobRadius * GUI_scale;
    const int kc = x + knob_center();
    const int line = y + trackY + trackThickness / 2;
    return mx >= kc - 3 * R && mx < kc + 3 * R && my >= line - 2 * R && my < line + 2 * R;
}

int GUI_Slider::distance_from_track(int, int my) const {
    return std::abs(my - (y + trackY + trackThickness / 2));
}

void GUI_Slider::draw() {
    if (!is_visible())
        return;
    GUI_View::draw();
    for (int i = 0; i < 3; ++i)
        drawTexture(decorations[i], decorationRects[i], decorationTints[i]);
    const int s = GUI_scale;
    const int R = knobRadius * s;
    const int line = trackY + trackThickness / 2;
    const int kc = knob_center();
    if (showTrack) {
        GUI_FillRect(trackX, line - s, trackLength, 2 * s, trackColor);
        if (fillMode == FILL_LEFT)
            GUI_FillRect(trackX, line - s, kc - trackX, 2 * s, GUI_Blue);
        else if (fillMode == FILL_RIGHT)
            GUI_FillRect(kc, line - s, trackX + trackLength - kc, 2 * s, GUI_Blue);
    }
    GUI_FillCircle(kc, line, R, trackColor);
    GUI_FillCircle(kc, line, (knobRadius - 2) * s, GUI_White);
}

bool GUI_Slider::release(int mx, int my) {
    const int R = knobRadius * GUI_scale;
    const bool quick = SDL_GetTicks() - lastPressTime <= kClickMs;
    if (quick && distance_from_track(mx, my) < R) {
        set_value(value_at(mx, my), true);
        GUI_LogNotice("Slider immediate end") << value;
        if (onRelease) {
            ValueCallback cb = onRelease;
            cb(this, value);
            return true;
        }
        return false;
    }
    const float delta = lastValue == -1.0f ? 0.0f : value - lastValue;
    GUI_LogNotice("Slider end drag") << value << "delta=" << delta;
    lastValue = value;
    if (onRelease && std::fabs(delta) > 0.01f) {
        ValueCallback cb = onRelease;
        cb(this, value);
    }
    return false;
}

bool GUI_Slider::handle_event(SDL_Event* e) {
    if (!is_visible())
        return false;
    if (e->type == GUI_EVENT_DRAW)
        return GUI_View::handle_event(e);
    if (!interactive)
        return true;
    int mx = 0, my = 0;
    const bool mouse = GUI_EventPosition(e, &mx, &my);
    if (mouse && !is_enabled()) {
        if (GUI_mouseCapture == this)
            GUI_mouseCapture = nullptr;
        pressed = sliding = false;
        return false;
    }
    if (e->type == SDL_MOUSEBUTTONDOWN) {
        // Held even when the press missed the knob: a quick release on the track is a click.
        GUI_mouseCapture = this;
        lastPressTime = SDL_GetTicks();
        if (!in_knob_box(mx, my))
            return false;
        pressed = sliding = true;
        const float v = value_at(mx, my);
        if (onPress) {
            ValueCallback cb = onPress;
            cb(this, v);
        }
        lastValue = value;
        set_value(v, true);
        return true;
    }
    if (e->type == SDL_MOUSEMOTION && GUI_mouseCapture == this && sliding) {
        if (hit_test(mx, my, true) || in_knob_box(mx, my)) {
            set_value(value_at(mx, my), true);
            pressed = true;
            return true;
        }
        pressed = sliding = false;
        GUI_mouseCapture = nullptr;
        if (onRelease) {
            ValueCallback cb = onRelease;
            cb(this, value);
        }
        return false;
    }
    if (e->type == SDL_MOUSEBUTTONUP && GUI_mouseCapture == this) {
        GUI_mouseCapture = nullptr;
        pressed = sliding = false;
        return release(mx, my);
    }
    GUI_View::handle_event(e);
    return false;
}

// ---- GUI_SliderHorizontal ----

GUI_SliderHorizontal::GUI_SliderHorizontal(GUI_View* parent, int x, int y, int w, int h, float v,
                                           int knob)
    : GUI_Slider(parent, x, y, w, h, v, knob) {
    trackX = 0;
    trackY = 0;
    trackWidth = w * GUI_scale;
    trackLength = h * GUI_scale;
}

GUI_SliderHorizontal::~GUI_SliderHorizontal() {
    if (bottomImage)
        SDL_DestroyTexture(bottomImage);
    if (topImage)
        SDL_DestroyTexture(topImage);
}

void GUI_SliderHorizontal::set_end_images(SDL_Texture* bottom, SDL_Texture* top) {
    if (bottomImage && bottomImage != bottom)
        SDL_DestroyTexture(bottomImage);
    if (topImage && topImage != top)
        SDL_DestroyTexture(topImage);
    bottomImage = bottom;
    topImage = top;
    int bw = 0, bh = 0, tw = 0, th = 0;
    if (bottom)
        SDL_QueryTexture(bottom, nullptr, nullptr, &bw, &bh);
    if (top)
        SDL_QueryTexture(top, nullptr, nullptr, &tw, &th);
    bottomRect = {(w - bw) / 2, h - bh, bw, bh};
    topRect = {(w - tw) / 2, 0, tw, th};
    const int R = knobRadius * GUI_scale;
    trackX = 0;
    trackY = R + th;
    trackWidth = w;
    trackLength = h - 2 * R - th - bh;
}

float GUI_SliderHorizontal::value_at(int, int my) const {
    if (trackLength <= 0)
        return value;
    return static_cast<float>(my - y - trackY) / static_cast<float>(trackLength);
}

int GUI_SliderHorizontal::knob_center() const {
    const int R = knobRadius * GUI_scale;
    const int c = trackY + static_cast<int>(trackLength * value);
    return std::clamp(c, trackY + R, std::max(trackY + R, trackY + trackLength - R));
}

bool GUI_SliderHorizontal::in_knob_box(int mx, int my) const {
    const int R = knobRadius * GUI_scale;
    const int kc = y + knob_center();
    const int line = x + trackX + trackWidth / 2;
    return mx >= line - 2 * R && mx < line + 2 * R && my >= kc - 3 * R && my < kc + 3 * R;
}

int GUI_SliderHorizontal::distance_from_track(int mx, int) const {
    return std::abs(mx - (x + trackX + trackWidth / 2));
}

bool GUI_SliderHorizontal::release(int mx, int my) {
    const int R = knobRadius * GUI_scale;
    const bool quick = SDL_GetTicks() - lastPressTime <= kClickMs;
    const bool click = quick && distance_from_track(mx, my) < R;
    if (click)
        set_value(value_at(mx, my), true);
    lastValue = value;
    if (onRelease) {
        ValueCallback cb = onRelease;
        cb(this, value);
        return click;
    }
    return false;
}

void GUI_SliderHorizontal::draw() {
    if (!is_visible())
        return;
    GUI_View::draw();
    for (int i = 0; i < 3; ++i)
        drawTexture(decorations[i], decorationRects[i], decorationTints[i]);
    drawTexture(bottomImage, bottomRect, GUI_White);
    drawTexture(topImage, topRect, GUI_White);
    const int s = GUI_scale;
    const int line = trackX + trackWidth / 2;
    const int kc = knob_center();
    if (showTrack)
        GUI_FillRect(line - s, trackY, 2 * s, trackLength, trackColor);
    GUI_FillCircle(line, kc, knobRadius * s, trackColor);
    GUI_FillCircle(line, kc, (knobRadius - 2) * s, GUI_White);
}
