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
  --left-view FILE      also write the left eye's view (one input only); in the
                        classic conversion, the picture itself
  --right-view FILE     also write the right eye's view (one input only): the
                        second view
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
  --depth-from FILE     take the depth map from FILE (a depth estimator's output,
                        say) instead of the cue, inversion and centring: any
                        picture Qt reads, grey or turned grey by luminance, white
                        near, resized to the picture smoothly; warp and smoothing
                        still apply (one input only)
  --depth-from-invert   the --depth-from map has black near
  --scene auto|landscape|portrait|flat  lay the cue over a layout of the scene:
                        a ground receding upward with the sky farthest, a centred
                        subject before its surround, or none; the depth is then
                        smoothed inside objects and kept sharp at their edges;
                        auto picks the layout from the picture (without --scene:
                        the classic depth from the cue alone)

Anaglyph:
  --parallax P          the scaled strength: the whole depth range spans P % of the
                        picture's width (0.1 to 10; 1 to 3 suit most pictures), each
                        pixel following its depth level, both views warped from the
                        picture; without it (or with 0), the classic one to three
                        pixels
  --screen-plane S      with --parallax: the depth, in % from far (0) to near
                        (100), that lies on the screen; nearer comes out of it,
                        farther sinks behind (default 60)
  --added-depth[=N]     shift the second view by N pixels, glbShift (without N: 6,
                        or the saved value); with or without the shift, the
                        frame is |glbShift| pixels wide
  --no-added-depth      no added depth
  --lens red-blue|blue-red   which view gives the red channel (default red-blue:
                        red from the picture, green and blue from the second view)
  --method colour|half-colour|grey|dubois   how the two views are joined:
                        colour (default) keeps each view's own channels; half-colour
                        puts the left view's luma in its lens's channels; grey
                        puts each view's luma in its lens's channels (luma by the
                        Rec. 601 weights 0.299 R + 0.587 G + 0.114 B); dubois is the
                        least-squares projection in linear light
  --glasses red-cyan|green-magenta|amber-blue   the lenses (default red-cyan): the
                        left view gives red, green, or red and green; the right view
                        the rest. The left view is the picture and the right view
                        the second view; --lens blue-red swaps them
  --layout anaglyph|side-by-side|cross-eye|half-side-by-side|top-bottom|half-top-bottom
                        anaglyph (default) joins the views; side-by-side puts the
                        left view left (twice as wide), cross-eye swaps them,
                        top-bottom puts the left view on top (twice as tall); the
                        half layouts squeeze each view to half by area and keep the
                        picture's size
  --frame sides|full    draw a frame on the left and right, or on all four sides
                        (default: no frame)
  --no-frame            no frame
  --frame-color black|white  (default black)

Other:
  --display-bpp 8|15|16|24|32  the display format the conversion works in
                        (default 32); lower ones lose colour as a screen of that
                        depth would
  -j, --jobs N          pictures converted at once (default: one per core); the
                        messages still come in input order
  --quality N           JPEG and WebP quality, 0 to 100 (default 92)
  --png-compression N   PNG compression, 0 (none) to 9 (smallest file, slowest);
                        default 1, fast
  --saved-settings      start from the desktop program's saved settings instead of
                        the defaults; the options above change them for this run only
  --verbose             say which scene each picture's depth followed
  -h, --help            show this help
  --version             show the version

Numbers are whole numbers from -32768 to 32767; a value given to an option with an
optional value must follow '=' (--warp=12).

Exit status: 0 when every picture converted, 1 when any failed (each failure has a
line on stderr; the other pictures still convert; a picture too large for the
memory available says how much it would need), 2 for a usage error (a command line
that cannot be carried out, outputs that clash included).
With several inputs and a terminal on stderr, a progress line shows the picture
last reported.
)";

}  // namespace

QString HelpText() {
    return QString::fromUtf8(kHelp).arg(WritableExtensions());
}

QString UsageHint() {
    return QStringLiteral("Try 'zarvik-convert --help' for more information.");
}

}  // namespace convert_tool
