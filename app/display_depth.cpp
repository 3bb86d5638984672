#include "app/display_depth.h"

#include <QGuiApplication>
#include <QScreen>

int SurfaceBitsForScreenDepth(int screen_depth) {
    switch (screen_depth) {
        case 8:
        case 15:
        case 16:
            return screen_depth;
        default:
            return 32;
    }
}

int SurfaceBitsForPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return SurfaceBitsForScreenDepth(screen ? screen->depth() : 32);
}
