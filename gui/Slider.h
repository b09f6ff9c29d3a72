// GUI_Slider: a value from 0 to 1 chosen with a round knob on a horizontal track.
// GUI_SliderHorizontal: the same with the knob moving up and down a vertical track (the name
// follows the knob's bar, which lies across the track).
//
// Pressing the knob drags it (onPress, then onChange while it moves, onRelease at the end when the
// value changed by more than 0.01); a quick click (at most 200 ms) on the track jumps the knob
// there and calls onRelease. The slider holds GUI_mouseCapture while pressed. A disabled slider
// ignores the mouse. Units: constructor values in points; geometry fields in pixels.
#pragma once

#include <functional>

#include "gui/View.h"

class GUI_Slider : public GUI_View {
public:
    using ValueCallback = std::function<void(GUI_Slider*, float)>;
    enum { FILL_NONE = 0, FILL_LEFT = 1, FILL_RIGHT = 2 };

    GUI_Slider(GUI_View* parent, int x, int y, int w, int h, float value, int knobRadius);
    ~GUI_Slider() override;

    // Stores v clamped to 0..1; calls onChange when notify is set and the value moved by more
    // than 0.001. Returns whether it moved by more than 0.001.
    bool set_value(float v, bool notify = true);
    float get_value() const { return value; }

    void draw() override;
    bool handle_event(SDL_Event* e) override;

    // Optional pictures drawn over the slider (owned), each with its rectangle (view pixels) and
    // tint.
    void set_decoration(int index, SDL_Texture* texture, SDL_Rect rect,
                        SDL_Color tint = {255, 255, 255, 255});

    ValueCallback onPress, onChange, onRelease;
    int fillMode = FILL_NONE;
    SDL_Color trackColor = {140, 140, 140, 255};  // track and knob rim
    float value = 0.0f;
    SDL_Texture* decorations[3] = {nullptr, nullptr, nullptr};
    SDL_Rect decorationRects[3] = {};
    SDL_Color decorationTints[3] = {
        {255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    int trackX = 0, trackY = 0;  // pixels inside the view
    int trackLength = 0;         // pixels
    int trackThickness = 0;      // pixels
    bool pressed = false;
    bool sliding = false;  // the knob is being dragged
    bool showTrack = true;
    int knobRadius;            // points
    Uint32 lastPressTime = 0;  // ms
    float lastValue = -1.0f;   // value at the last press or release

protected:
    // Geometry of the axis the knob moves along; positions in drawable pixels.
    virtual float value_at(int mx, int my) const;
    virtual bool in_knob_box(int mx, int my) const;
    virtual int distance_from_track(int mx, int my) const;
    // The button-up that ends a press; returns whether the event is consumed.
    virtual bool release(int mx, int my);
    virtual int knob_center() const;  // along the track, view pixels
};

class GUI_SliderHorizontal : public GUI_Slider {
public:
    GUI_SliderHorizontal(GUI_View* parent, int x, int y, int w, int h, float value, int knobRadius);
    ~GUI_SliderHorizontal() override;

    // Pictures at the two ends of the track (owned); the track is fitted between them.
    void set_end_images(SDL_Texture* bottom, SDL_Texture* top);
    void draw() override;

    SDL_Texture* bottomImage = nullptr;
    SDL_Texture* topImage = nullptr;
    SDL_Rect bottomRect = {}, topRect = {};  // view pixels
    int trackWidth = 0;                      // pixels

protected:
    float value_at(int mx, int my) const override;
    bool in_knob_box(int mx, int my) const override;
    int distance_from_track(int mx, int my) const override;
    bool release(int mx, int my) override;
    int knob_center() const override;
};
