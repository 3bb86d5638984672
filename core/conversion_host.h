#pragma once
// What a conversion needs from the window that runs it, and nothing more. The
// desktop window implements it with Qt; the command-line converter and the tests
// implement it without a window.
#include <string>

namespace core {

class ConversionHost {
public:
    virtual ~ConversionHost() = default;

    // Lets the window system handle pending input once (a click on "Cancel" included).
    virtual void Yield() = 0;
    // The progress band: its width in the main window's units (twips) and visibility.
    virtual void SetBandWidth(float width) = 0;
    virtual void SetBandVisible(bool visible) = 0;
    // Main window's outer width, in twips.
    virtual float WindowWidth() const = 0;
    // The conversion command's caption ("Anaglyph" or "Cancel").
    virtual void SetCommandCaption(const std::string& caption) = 0;
    virtual std::string WindowCaption() const = 0;
    virtual void SetWindowCaption(const std::string& caption) = 0;
    // Loads the last opened picture file again into the surfaces.
    virtual void Reload() = 0;
    virtual void EnableReload(bool enabled) = 0;
};

}  // namespace core
