#include "tests/tools/sample_views.h"

#include <QString>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {

namespace {

QImage ReadRgb(const std::string& path) {
    return ReadPicture(path).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

Views ConvertSample(const std::vector<std::string>& options,
                    const std::vector<std::string>& environment) {
    TempFolder folder;
    std::vector<std::string> arguments = options;
    for (const std::string& word :
         {std::string("--second-view"), folder.Path("second.png"), std::string("--depth-map"),
          folder.Path("depth.png"), SamplePicture(), folder.Path("anaglyph.bmp")})
        arguments.push_back(word);
    const ConvertRun run = RunConvert(arguments, environment);
    EXPECT_EQ(run.status, 0) << run.err;
    return {ReadRgb(SamplePicture()), ReadRgb(folder.Path("anaglyph.bmp")),
            ReadRgb(folder.Path("second.png")), ReadRgb(folder.Path("depth.png"))};
}

bool JoinsViews(const QRgb anaglyph, const QRgb red_view, const QRgb cyan_view) {
    return qRed(anaglyph) == Masked(qRed(red_view)) &&
           qGreen(anaglyph) == Masked(qGreen(cyan_view)) &&
           qBlue(anaglyph) == Masked(qBlue(cyan_view));
}

testing::AssertionResult EveryPixel(const QImage& image,
                                    const std::function<bool(int x, int y)>& holds) {
    int misses = 0;
    QString first;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (holds(x, y)) continue;
            if (misses++ == 0) first = QStringLiteral("(%1, %2)").arg(x).arg(y);
        }
    }
    if (image.isNull()) return testing::AssertionFailure() << "no picture";
    if (misses == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << misses << " pixels differ, the first at " << first.toStdString();
}

bool SameSize(const Views& v) {
    return !v.picture.isNull() && v.anaglyph.size() == v.picture.size() &&
           v.second.size() == v.picture.size() && v.depth.size() == v.picture.size();
}

}  // namespace tools_test
