#include "desktop/platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace zv {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// What a screen reports when there is none to ask, as before the application
// object exists.
constexpr double kUsualDpi = 96.0;

double DpiX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : kUsualDpi;
}

double DpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : kUsualDpi;
}

int ToTwips(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

int ToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

}  // namespace

int PixelsToTwipsX(int pixels) {
    return ToTwips(pixels, DpiX());
}

int PixelsToTwipsY(int pixels) {
    return ToTwips(pixels, DpiY());
}

int TwipsToPixelsX(int twips) {
    return ToPixels(twips, DpiX());
}

int TwipsToPixelsY(int twips) {
    return ToPixels(twips, DpiY());
}

}  // namespace zv
