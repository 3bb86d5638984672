#include "tools/help_text.h"

#include "tools/output_format.h"

namespace convert_tool {

namespace {

constexpr const char* kHelp = R"(Usage:
  zarvik-convert [options] INPUT OUTPUT
  zarvik-convert [options] INPUT... --output-dir DIR

Turns flat pictures into red/cyan anaglyphs with the same conversion as the
desktop program's "Anaglyph" command, without a window.

Files:
  INPUT                 a picture in any format Qt reads here (BMP, JPEG, PNG, GIF,
                        and TIFF and WebP with Qt's image formats plugins); at most
                        32767 pixels each way. Exactly the file named: no other
                        extension is tried. A colour profile is applied (the
                        conversion works in sRGB); transparent pixels are laid
                        over the background (see --background)
  OUTPUT                the anaglyph; its format follows the extension, one of
                          %1
                        a name without an extension gets a Windows bitmap (BMP);
                        any other extension is refused
  --output-dir DIR      write each anaglyph into DIR, created when missing, as
                        DIR/<input name without its last extension>.anaglyph.bmp
                        (photo.jpg gives DIR/photo.anaglyph.bmp)
  --format EXT          with --output-dir: the extension, and so the format, of
                        those files instead of bmp
  --depth-map FILE      also write the final depth map (one input only)
  --second-view FILE    also write the second eye's view (one input only)
  --background white|black|#rrggbb  what transparent pixels are laid over
                        (default white, or the saved one with --saved-settings)
  An output never replaces an input: before anything is read, every output (the
  anaglyphs, --depth-map, --second-view) is compared with every input and with the
  others as files (so ./a.png, dir/../a.png and links to a.png are all a.png); a
  clash refuses the whole run with exit status 2, batches included, so no input is
  ever written over before it is read. An existing file is replaced only once its
  new content is complete; a write that fails leaves it as it was. Use -- before
  names that begin with a dash.

Depth:
  --cue NAME            the Cues entry: rgb, uti, red, green, blue, yellow, magenta,
                        cyan, luminance or saturation (default rgb)
  --depth-cue N         the raw DepthCue (0-5; other values run no cue) and
  --cue-color N         CueColor (0-5; other values: the channel mean), applied
                        after --cue; the only way to cues 1 (weights) and 5 (bands)
  --blur NAME           smoothing: none, smere, blur, mean, median or max
                        (default none)
  --warp[=N]            warp the depth map; N is the warp divisor glbWarp
                        (without N: 24, or the saved value with --saved-settings)
  --no-warp             no warp (to override --saved-settings)
  --levels A,B,C,D,E    the five depth levels (default 50,100,150,200,255)

Anaglyph:
  --added-depth[=N]     shift the second view by N pixels, glbShift (without N: 6,
                        or the saved value); with or without the shift, the
                        frame is |glbShift| pixels wide
  --no-added-depth      no added depth
  --lens red-blue|blue-red   which view gives the red channel (default red-blue:
                        red from the picture, green and blue from the second view)
  --frame sides|full    draw a frame on the left and right, or on all four sides
                        (default: no frame)
  --no-frame            no frame
  --frame-color black|white  (default black)

Other:
  --display-bpp 8|15|16|24|32  the display format the conversion works in
                        (default 32); lower ones lose colour as a screen of that
                        depth would
  --saved-settings      start from the desktop program's saved settings instead of
                        the defaults; the options above change them for this run only
  -h, --help            show this help
  --version             show the version

Numbers are whole numbers from -32768 to 32767; a value given to an option with an
optional value must follow '=' (--warp=12).

Exit status: 0 when every picture converted, 1 when any failed (each failure has a
line on stderr; the other pictures still convert; a picture too large for the
memory available says how much it would need), 2 for a usage error (a command line
that cannot be carried out, outputs that clash included).
With several inputs and a terminal on stderr, a progress line shows the picture
being converted.
)";

}  // namespace

QString HelpText() {
    return QString::fromUtf8(kHelp).arg(WritableExtensions());
}

QString UsageHint() {
    return QStringLiteral("Try 'zarvik-convert --help' for more information.");
}

}  // namespace convert_tool
