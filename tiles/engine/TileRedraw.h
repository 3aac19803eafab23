#pragma once
// The redraw procedures of the tile viewer: the live tile redraw that the
// window runs, and the two bulk roads (through the library, and buffered
// through the byte decoders) that no control reaches. Each holds the
// window's controls disabled and shows "ROM Tile Viewer - Redrawing..." while
// it works, and puts the title caption and the controls back on every way
// out, an error included.

#include <QString>

#include "ScreenBlit.h"
#include "TileViewerWindow.h"

namespace tiles {

// Clears the picture and draws up to 48 x 28 tiles of 16 bytes from the byte
// offset in lblOffset, the number in lblWidth being tiles to an image row.
// Lets the window's events run after every tile and stops when the window
// asks; then shows the time taken on the update button.
void RedrawTiles(TileViewerWindow &window);

// Decodes 96 image bytes to a row of 384 pixel codes into ScreenBytes and
// shows them in one blit.
void RedrawTilesBuffered(TileViewerWindow &window, ScreenBuffers &screen);

// Has the library decode the image into ScreenBuffer (tile mode only shows
// its "TILES" box) and shows it in one blit. Returns its timing text,
// "DLL Blit: " and the seconds taken.
QString RedrawTilesLibrary(TileViewerWindow &window, ScreenBuffers &screen);

// Shows ScreenBuffer again.
void BlitOnly(TileViewerWindow &window, ScreenBuffers &screen);

} // namespace tiles
