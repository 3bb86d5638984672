// Batches with several jobs at once say and write exactly what one job says and
// writes: the same lines in input order, the same exit status, the same files, in an
// output folder made as needed, however deep, in the format --format chooses; and the
// compression options reach the written files.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>

#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

// Pictures of several sizes and formats, with broken ones among them: one whose
// library complains on stderr by itself (a PNG cut short) and ones whose readers
// speak through Qt, so that both kinds of message must reach the right picture.
std::vector<std::string> MakeInputs(const TempFolder& folder) {
    std::vector<std::string> inputs;
    const char* const extensions[] = {".png", ".jpg", ".bmp"};
    for (int i = 0; i < 9; ++i) {
        const std::string path = folder.Path("p" + std::to_string(i) + extensions[i % 3]);
        QImage(QStringLiteral(ZARVIK_SAMPLE_PICTURE))
            .copy(i * 13, i * 7, 40 + i * 17, 30 + i * 11)
            .save(QString::fromStdString(path));
        inputs.push_back(path);
        if (i == 2) {
            inputs.push_back(folder.Path("broken.png"));
            WriteBytes(inputs.back(), "\x89PNG\r\n\x1a\n not a picture");
        }
        if (i == 4) {
            const std::string whole = ReadBytes(folder.Path("p0.png"));
            inputs.push_back(folder.Path("cut.png"));
            WriteBytes(inputs.back(), whole.substr(0, whole.size() * 2 / 3));
        }
        if (i == 6) {
            inputs.push_back(folder.Path("empty.jpg"));
            WriteBytes(inputs.back(), "");
        }
    }
    return inputs;
}

ConvertRun RunWithJobs(const std::string& jobs, const std::vector<std::string>& inputs,
                       const std::string& out) {
    std::vector<std::string> arguments = {"-j", jobs, "--output-dir", out, "--format", "PNG"};
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    return RunConvert(arguments);
}

// The files of an output folder by name.
std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
}

TEST(ParallelBatchTest, SeveralJobsSayAndWriteWhatOneJobDoes) {
    const TempFolder folder;
    const std::vector<std::string> inputs = MakeInputs(folder);
    const std::string out = folder.Path("sortie ß/deeper");
    const ConvertRun one = RunWithJobs("1", inputs, out);
    ASSERT_EQ(one.status, 1) << one.err;
    EXPECT_EQ(Lines(one.err), 3) << one.err;
    EXPECT_NE(one.err.find("libpng"), std::string::npos) << one.err;
    const auto written = FilesIn(out);
    EXPECT_EQ(written.size(), 9u);
    EXPECT_EQ(written.at("p8.anaglyph.png").substr(0, 4), "\x89PNG");
    for (const std::string jobs : {"2", "3", "8"}) {
        SCOPED_TRACE(jobs + " jobs");
        std::filesystem::remove_all(out);
        const ConvertRun many = RunWithJobs(jobs, inputs, out);
        EXPECT_EQ(many.status, one.status);
        EXPECT_EQ(many.err, one.err);
        EXPECT_EQ(FilesIn(out), written);
    }
}

TEST(CompressionOptionsTest, QualityAndPngCompressionReachTheFiles) {
    const TempFolder folder;
    const auto convert = [&](std::vector<std::string> arguments, const std::string& name) {
        arguments.insert(arguments.end(), {ZARVIK_SAMPLE_PICTURE, folder.Path(name)});
        EXPECT_EQ(RunConvert(arguments).status, 0) << name;
        return std::filesystem::file_size(folder.Path(name));
    };
    const auto default_jpeg = convert({}, "default.jpg");
    EXPECT_EQ(convert({"--quality", "92"}, "q92.jpg"), default_jpeg) << "92 is the default";
    EXPECT_LT(convert({"--quality", "40"}, "q40.jpg"), default_jpeg);
    EXPECT_GT(convert({"--quality", "100"}, "q100.jpg"), default_jpeg);
    const auto stored = convert({"--png-compression", "0"}, "c0.png");
    EXPECT_LT(convert({"--png-compression", "9"}, "c9.png"), stored);
    EXPECT_LT(convert({}, "default.png"), stored) << "the default compresses";
    // The compression changes the file, never the picture in it.
    EXPECT_EQ(QImage(QString::fromStdString(folder.Path("c0.png"))),
              QImage(QString::fromStdString(folder.Path("c9.png"))));
}

}  // namespace
}  // namespace tools_test
