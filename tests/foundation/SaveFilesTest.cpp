#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "foundation/SaveFiles.h"
#include "foundation/Stopwatch.h"
#include "support/TestEnvironment.h"

TEST(SaveFiles, WritablePathIsStableAndEndsInSlash) {
    const std::string& a = Convinience::writablePath();
    EXPECT_EQ(&a, &Convinience::writablePath());
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.back(), '/');
    EXPECT_EQ(a, zarn_test::tempDir() + "/");
}

TEST(SaveFiles, MissingFileDoesNotExistAndReadsAsFailed) {
    EXPECT_FALSE(Convinience::saveFileExists("no-such-file.bin"));
    auto in = Convinience::openSaveFileForRead("no-such-file.bin");
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(in->fail());
}

TEST(SaveFiles, WritesReplaceTheFileOnlyWhenComplete) {
    {
        auto out = Convinience::openSaveFileForWrite("progress.bin");
        *out << "first";
    }
    EXPECT_TRUE(Convinience::saveFileExists("progress.bin"));
    {
        auto out = Convinience::openSaveFileForWrite("progress.bin");
        *out << "second";
        out->setstate(std::ios::badbit);  // a write that went wrong half-way
    }
    auto in = Convinience::openSaveFileForRead("progress.bin");
    std::string text;
    *in >> text;
    EXPECT_EQ(text, "first");
    for (const auto& entry : std::filesystem::directory_iterator(zarn_test::tempDir())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "temporary file left behind";
    }
}

TEST(SaveFiles, WriteFileAtomicallyReportsFailure) {
    const std::string path = Convinience::writablePath() + "atomic.bin";
    EXPECT_TRUE(Convinience::writeFileAtomically(path, {1, 2, 3}));
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    EXPECT_FALSE(Convinience::writeFileAtomically(Convinience::writablePath() + "no/such/dir/x.bin", {1}));
}

TEST(Stopwatch, CountsWholeMillisecondsOfHundredNanosecondTicks) {
    Convinience::ManualTickClock clock;
    clock.ticks = 1000;
    Convinience::Stopwatch watch(clock);
    EXPECT_EQ(watch.elapsedMilliseconds(), 0u);
    watch.start();
    clock.ticks += 12345678;
    EXPECT_EQ(watch.elapsedMilliseconds(), 1234u);
    watch.stop();
    clock.ticks += 100000000;
    EXPECT_EQ(watch.elapsedMilliseconds(), 1234u);
    clock.ticks = 0;  // a clock behind the start never yields a huge elapsed time
    watch.start();
    clock.ticks = 0;
    EXPECT_EQ(watch.elapsedMilliseconds(), 0u);
}
