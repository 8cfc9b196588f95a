// The probe object's gathered text is shared between the pipe's reader thread
// (OnOutput) and the probing thread (GetOutput).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/VersionProbe.h"
#include "tests/support/LogCapture.h"

namespace {

const int kChunks = 400;

std::string Chunk(int i) {
    // Long chunks, so that a copy taken in the middle of an append would show.
    return std::string(200, static_cast<char>('a' + i % 26)) + "|";
}

struct Feeder {
    JavaVersionLog* probe;
    HANDLE go;
};

DWORD WINAPI FeedChunks(LPVOID parameter) {
    Feeder* feeder = static_cast<Feeder*>(parameter);
    WaitForSingleObject(feeder->go, INFINITE);
    for (int i = 0; i < kChunks; ++i) feeder->probe->OnOutput(Chunk(i).c_str());
    feeder->probe->OnOutput(nullptr);
    return 0;
}

TEST(JavaVersionLogTest, CopiesTakenWhileTheReaderAppendsNeverEndInsideAChunk) {
    LogCapture capture;  // keeps the chunks off the debugger channel
    JavaVersionLog probe;
    Feeder feeder = {&probe, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE reader = CreateThread(nullptr, 0, FeedChunks, &feeder, 0, nullptr);
    ASSERT_NE(nullptr, reader);
    SetEvent(feeder.go);

    std::string all;
    for (int i = 0; i < kChunks; ++i) all += Chunk(i);
    int copies = 0;
    int torn = 0;
    bool ended = false;
    while (!ended) {
        ended = probe.WaitForEnd(0);
        std::string copy = probe.GetOutput().c_str();
        ++copies;
        // Every copy is a prefix of the whole text that ends on a chunk end.
        if (all.compare(0, copy.size(), copy) != 0 || (!copy.empty() && copy.back() != '|')) ++torn;
    }
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    CloseHandle(feeder.go);

    EXPECT_EQ(0, torn) << "of " << copies << " copies";
    EXPECT_EQ(all, probe.GetOutput());
}

TEST(JavaVersionLogTest, LogsEveryChunkAsItArrivesAndEndsOnTheNullCall) {
    LogCapture capture;
    JavaVersionLog probe;
    EXPECT_FALSE(probe.WaitForEnd(0));
    probe.OnOutput("java version \"1.6");
    probe.OnOutput(".0_03\"\r\n");
    EXPECT_FALSE(probe.WaitForEnd(0)) << "the output has not ended yet";
    probe.OnOutput(nullptr);
    std::vector<std::string> log = capture.Entries();
    EXPECT_TRUE(probe.WaitForEnd(0));
    EXPECT_EQ("java version \"1.6.0_03\"\r\n", probe.GetOutput());
    EXPECT_EQ((std::vector<std::string>{"java version \"1.6", ".0_03\"\r\n"}), log);
}

}  // namespace
