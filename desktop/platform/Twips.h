#pragma once

namespace zv {

// Window geometry is kept in twips (1/1440 inch), so a stored size means the
// same on screens of any density. These convert through the primary screen's
// logical DPI, across (X) and down (Y); at 96 DPI one pixel is 15 twips.
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);

}  // namespace zv
