#pragma once
// The pixel format the picture surfaces use, chosen from the screen's colour depth
// as the old platform's device-dependent bitmaps followed the display mode.

// 24 and 32 (and deeper colour modes) give 32 bits per pixel; 16, 15 and 8 keep
// their own format; anything else falls back to 32.
int SurfaceBitsForScreenDepth(int screen_depth);
// For the primary screen, or 32 when there is none.
int SurfaceBitsForPrimaryScreen();
