#include "gui/Fonts.h"

#include <algorithm>

#include "gui/Globals.h"
#include "gui/Log.h"
#include "gui/Toolkit.h"

const char* const GUI_TextFontFile = "data/NotoSansLatinThaiJP.ttf";
const char* const GUI_IconFontFile = "data/fontawesome-webfont.ttf";

TTF_Font* GUI_fonts[GUI_FontCount] = {nullptr, nullptr, nullptr};
const int GUI_FontPoints[GUI_FontCount] = {14, 18, 11};

TTF_Font* GUI_iconFonts[GUI_IconFontCount] = {nullptr, nullptr, nullptr};
const int GUI_IconFontPoints[GUI_IconFontCount] = {16, 18, 36};

namespace {

TTF_Font* openFont(const char* file, int points) {
    const std::string path = GUI_ResourcePath(file);
    return TTF_OpenFont(path.c_str(), points * GUI_scale);
}

// Shapes the text with the Thai script while `font` renders or measures it, and hands the font
// back with the script left for HarfBuzz to guess ("Zzzz", unknown), so that a font shared by
// many widgets never keeps a script it was given for one text.
class ScriptScope {
public:
    ScriptScope(TTF_Font* font, const std::string& utf8)
        : font_(font), thai_(font != nullptr && GUI_HasThai(utf8)) {
        if (thai_)
            TTF_SetFontScriptName(font_, "Thai");
    }
    ~ScriptScope() {
        if (thai_)
            TTF_SetFontScriptName(font_, "Zzzz");
    }
    ScriptScope(const ScriptScope&) = delete;
    ScriptScope& operator=(const ScriptScope&) = delete;

private:
    TTF_Font* font_;
    bool thai_;
};

}  // namespace

bool GUI_LoadFonts() {
    // Opened largest first, as the table is filled by index afterwards.
    TTF_Font* f18 = openFont(GUI_TextFontFile, 18);
    TTF_Font* f14 = f18 ? openFont(GUI_TextFontFile, 14) : nullptr;
    TTF_Font* f11 = f14 ? openFont(GUI_TextFontFile, 11) : nullptr;
    if (f18 == nullptr || f14 == nullptr || f11 == nullptr) {
        GUI_LogPrint("font-spec %s not found\n", GUI_TextFontFile);
        if (f18)
            TTF_CloseFont(f18);
        if (f14)
            TTF_CloseFont(f14);
        return false;
    }
    // Fonts of an earlier call (a second window, a new scale) are replaced.
    for (TTF_Font*& f : GUI_fonts) {
        if (f)
            TTF_CloseFont(f);
        f = nullptr;
    }
    GUI_fonts[0] = f14;
    GUI_fonts[1] = f18;
    GUI_fonts[2] = f11;

    for (int i = 0; i < 2; ++i) {
        if (GUI_iconFonts[i] != nullptr)
            continue;
        GUI_iconFonts[i] = openFont(GUI_IconFontFile, GUI_IconFontPoints[i]);
        if (GUI_iconFonts[i] == nullptr) {
            GUI_Print("font-awesome %s not found\n", GUI_IconFontFile);
            return false;
        }
    }
    return true;
}

SDL_Texture* GUI_RenderIcon(Uint16 code, int* w, int* h, SDL_Color color, int sizeIndex) {
    sizeIndex = std::clamp(sizeIndex, 0, GUI_IconFontCount - 1);
    if (GUI_iconFonts[sizeIndex] == nullptr) {
        if (!TTF_WasInit() && TTF_Init() != 0) {
            GUI_LogError("GUI_FontAwesome") << "TTF_Init fail";
            return nullptr;
        }
        // All three sizes are (re)opened together; fonts that were open are replaced.
        bool ok = true;
        for (int i = 0; i < GUI_IconFontCount; ++i) {
            if (GUI_iconFonts[i])
                TTF_CloseFont(GUI_iconFonts[i]);
            GUI_iconFonts[i] = openFont(GUI_IconFontFile, GUI_IconFontPoints[i]);
            ok = ok && GUI_iconFonts[i] != nullptr;
        }
        if (!ok) {
            GUI_LogError("GUI_FontAwesome") << "TTF_OpenFont fail";
            return nullptr;
        }
    }
    SDL_Surface* s = TTF_RenderGlyph_Blended(GUI_iconFonts[sizeIndex], code, color);
    if (s == nullptr)
        return nullptr;
    SDL_Texture* t = GUI_renderer ? SDL_CreateTextureFromSurface(GUI_renderer, s) : nullptr;
    if (w)
        *w = s->w;
    if (h)
        *h = s->h;
    SDL_FreeSurface(s);
    return t;
}

void GUI_CloseIconFonts() {
    for (TTF_Font*& f : GUI_iconFonts) {
        if (f)
            TTF_CloseFont(f);
        f = nullptr;
    }
}

TTF_Font* GUI_OpenIconFont(int points) {
    return openFont(GUI_IconFontFile, points);
}

bool GUI_HasThai(const std::string& utf8) {
    // U+0E00..U+0E7F is E0 B8 80..E0 B9 BF in UTF-8.
    for (size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
        if (b0 == 0xE0 && (b1 == 0xB8 || b1 == 0xB9) && (b2 & 0xC0) == 0x80)
            return true;
    }
    return false;
}

SDL_Surface* GUI_RenderTextSurface(TTF_Font* font, const std::string& utf8, SDL_Color color) {
    if (font == nullptr || utf8.empty())
        return nullptr;
    ScriptScope script(font, utf8);
    return TTF_RenderUTF8_Blended(font, utf8.c_str(), color);
}

SDL_Texture* GUI_RenderText(TTF_Font* font, const std::string& utf8, SDL_Color color, int* w,
                            int* h) {
    SDL_Surface* s = GUI_RenderTextSurface(font, utf8, color);
    if (s == nullptr)
        return nullptr;
    SDL_Texture* t = GUI_renderer ? SDL_CreateTextureFromSurface(GUI_renderer, s) : nullptr;
    if (w)
        *w = s->w;
    if (h)
        *h = s->h;
    SDL_FreeSurface(s);
    return t;
}

bool GUI_SizeText(TTF_Font* font, const std::string& utf8, int* w, int* h) {
    if (font == nullptr)
        return false;
    ScriptScope script(font, utf8);
    return TTF_SizeUTF8(font, utf8.c_str(), w, h) == 0;
}

TTF_Font* GUI_Font(int index) {
    return GUI_fonts[std::clamp(index, 0, GUI_FontCount - 1)];
}
