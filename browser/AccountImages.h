#pragma once

class QPixmap;

namespace qalvoro {

class ImageList;

// Adds the nine pictures of the account tree to the image list: "CloseY",
// "OpenY", "PageY", "CloseG", "OpenG", "PageG", "CloseR", "OpenR", "PageR"
// (a closed folder for an account with sub-accounts, an open one while it is
// expanded, a sheet for an account without; yellow for balance-sheet, red
// for profit-and-loss and green for trading accounts).
void DrawAccountImages(ImageList& images);

// The magnifying glass of the search button.
QPixmap SearchPicture();

}  // namespace qalvoro
