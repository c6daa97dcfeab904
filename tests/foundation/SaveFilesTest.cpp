#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

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

std::string contentOf(const std::string& name) {
    auto in = Convinience::openSaveFileForRead(name);
    return std::string(std::istreambuf_iterator<char>(*in), {});
}

void expectNoTemporaryFiles() {
    for (const auto& entry : std::filesystem::directory_iterator(zarn_test::tempDir())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "temporary file left behind: " << entry.path();
    }
}

TEST(SaveFiles, OnlyASuccessfulCommitReplacesTheFile) {
    {
        auto out = Convinience::openSaveFileForWrite("progress.bin");
        *out << "first";
        EXPECT_TRUE(out->commit());
        EXPECT_TRUE(out->commit()) << "a second commit answers the first's result";
    }
    EXPECT_EQ(contentOf("progress.bin"), "first");
    {
        auto out = Convinience::openSaveFileForWrite("progress.bin");
        *out << "second";
        out->setstate(std::ios::badbit);  // a write that went wrong half-way
        EXPECT_FALSE(out->commit());
    }
    EXPECT_EQ(contentOf("progress.bin"), "first");
    {
        auto out = Convinience::openSaveFileForWrite("progress.bin");
        *out << "never committed";
    }
    EXPECT_EQ(contentOf("progress.bin"), "first");
    expectNoTemporaryFiles();
}

// A writer that throws half-way must not leave its part as the save.
TEST(SaveFiles, AWriterThatThrowsLeavesTheOldFile) {
    {
        auto out = Convinience::openSaveFileForWrite("thrown.bin");
        *out << "complete";
        ASSERT_TRUE(out->commit());
    }
    try {
        auto out = Convinience::openSaveFileForWrite("thrown.bin");
        *out << "part";
        out->flush();
        throw std::runtime_error("the writer failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(contentOf("thrown.bin"), "complete");
    expectNoTemporaryFiles();
}

TEST(SaveFiles, TwoWritersOfOneFileDoNotMixTheirBytes) {
    auto first = Convinience::openSaveFileForWrite("shared.bin");
    auto second = Convinience::openSaveFileForWrite("shared.bin");
    *first << "aaaa";
    *second << "bb";
    EXPECT_TRUE(first->commit());
    EXPECT_EQ(contentOf("shared.bin"), "aaaa");
    EXPECT_TRUE(second->commit());
    EXPECT_EQ(contentOf("shared.bin"), "bb");
    expectNoTemporaryFiles();
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
