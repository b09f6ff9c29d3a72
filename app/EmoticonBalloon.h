// The emoticon balloon: a speech balloon beside the toolbox with the 49 emoticons in a 7 x 7 grid
// and the Small, Medium and Large buttons. Each choice replaces a live preview layer in the
// design; OK adds the chosen emoticon through the undo history. The designs and thumbnails are
// read from the emoticon folder of the data folder ("Emoticon/": PES/<Small|Medium|Large>/N.pes
// and PNG128/Large/N.png, N = 1..49, row r and column c holding N = r * 7 + c + 1).
//
// The main window calls openEmoticonBalloon from its emoticon button and
// freeEmoticonThumbnails at shutdown. While the balloon is up the main window's input is off
// (beginMainWindowOverlay); whenever it closes (OK, a change of the window size) the input comes
// back (endMainWindowOverlay). A preview present when it closes without OK stays in the design,
// without an undo entry. Main thread only; the design is theDocument.
//
// Units: points unless noted (the grid's margin and cells are pixels).
#pragma once

#include <string>

class GUI_View;
struct SDL_Texture;

// Opens the balloon on GUI_TopView, its arrow pointing towards emoticonButton (may be null: the
// arrow then points at the middle of the balloon's side). Loads the thumbnails that are not
// loaded yet. Does nothing while the balloon is open or without a root view.
void openEmoticonBalloon(GUI_View* emoticonButton);

// Adds emoticon n (1..49) in the balloon's current size as a new layer of theDocument: through
// the undo history with asCommand, otherwise directly, without an undo entry (a preview).
// Returns whether a layer was added: false for n or size out of range, a missing, empty or
// unreadable design file, or no document.
bool importEmoticon(int n, bool asCommand);

// Destroys the thumbnail textures (at shutdown, before the renderer goes).
void freeEmoticonThumbnails();

// ---- For tests and tools.

// The open balloon, null when none.
GUI_View* emoticonBalloon();
// The size the balloon imports: 0 Small, 1 Medium (the start value), 2 Large.
int emoticonSize();
void setEmoticonSize(int size);
// The thumbnail of grid cell (row, column), null when not loaded.
SDL_Texture* emoticonThumbnail(int row, int column);
// The emoticon folder: "Emoticon/" inside the data folder unless a test points it elsewhere (an
// absolute folder ending in "/").
extern std::string emoticonFolder;
