// The 49 emoticons the editor offers, in the order of its 7 x 7 grid (number = row * 7 +
// column + 1), and their three sizes. Shared by the generator and the test of the shipped set.
#pragma once

namespace emoticons {

struct Emoticon {
    unsigned codePoint;
    const char* name;  // the character's Unicode name, lower case
};

inline constexpr int kCount = 49;

// Row by row: laughing and smiling faces; warm and loving faces; playful faces; calm, doubtful
// and sleepy faces; surprised and sad faces; crying, angry and wild faces; hearts and hands.
inline constexpr Emoticon kSet[kCount] = {
    {0x1F600, "grinning face"},
    {0x1F603, "grinning face with big eyes"},
    {0x1F604, "grinning face with smiling eyes"},
    {0x1F601, "beaming face with smiling eyes"},
    {0x1F606, "grinning squinting face"},
    {0x1F605, "grinning face with sweat"},
    {0x1F602, "face with tears of joy"},

    {0x1F642, "slightly smiling face"},
    {0x1F60A, "smiling face with smiling eyes"},
    {0x1F607, "smiling face with halo"},
    {0x1F609, "winking face"},
    {0x1F60C, "relieved face"},
    {0x1F60D, "smiling face with heart-eyes"},
    {0x1F618, "face blowing a kiss"},

    {0x1F617, "kissing face"},
    {0x1F60B, "face savoring food"},
    {0x1F61B, "face with tongue"},
    {0x1F61C, "winking face with tongue"},
    {0x1F61D, "squinting face with tongue"},
    {0x1F917, "smiling face with open hands"},
    {0x1F929, "star-struck"},

    {0x1F914, "thinking face"},
    {0x1F610, "neutral face"},
    {0x1F611, "expressionless face"},
    {0x1F636, "face without mouth"},
    {0x1F644, "face with rolling eyes"},
    {0x1F60F, "smirking face"},
    {0x1F634, "sleeping face"},

    {0x1F60E, "smiling face with sunglasses"},
    {0x1F913, "nerd face"},
    {0x1F62E, "face with open mouth"},
    {0x1F632, "astonished face"},
    {0x1F633, "flushed face"},
    {0x1F97A, "pleading face"},
    {0x1F622, "crying face"},

    {0x1F62D, "loudly crying face"},
    {0x1F631, "face screaming in fear"},
    {0x1F621, "enraged face"},
    {0x1F620, "angry face"},
    {0x1F608, "smiling face with horns"},
    {0x1F92A, "zany face"},
    {0x1F973, "partying face"},

    {0x2764, "red heart"},
    {0x1F495, "two hearts"},
    {0x1F496, "sparkling heart"},
    {0x1F44D, "thumbs up"},
    {0x1F44C, "OK hand"},
    {0x270C, "victory hand"},
    {0x1F44F, "clapping hands"},
};

// Folder names and sizes: the larger side of each design, in millimetres.
struct Size {
    const char* folder;
    int mm;
};
inline constexpr Size kSizes[3] = {{"Small", 25}, {"Medium", 40}, {"Large", 60}};

}  // namespace emoticons
