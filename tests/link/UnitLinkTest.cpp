// The unit protocol against the simulated unit: handshake, echo wait, framed records, file
// streams and restart, byte for byte, with the pauses and messages they make.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "LinkTestSupport.h"
#include "link/UnitLink.h"

namespace {

class UnitLinkTest : public UnitFixture {
protected:
    void SetUp() override {
        UnitFixture::SetUp();
        g_bLinkFailed = 0;
        options.expectedProductCode = 84;
    }

    std::vector<uint32_t> SleepsExcept(uint32_t skip) const {
        std::vector<uint32_t> out;
        for (uint32_t s : clock.Sleeps())
            if (s != skip) out.push_back(s);
        return out;
    }

    CUnitLink link{port};
    HandshakeOptions options;
    HandshakeResult result;
};

std::string Pattern(size_t size) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return data;
}

uint8_t Xor(const std::vector<uint8_t>& bytes, uint8_t start = 0) {
    return std::accumulate(bytes.begin(), bytes.end(), start,
                           [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a ^ b); });
}

}  // namespace

TEST_F(UnitLinkTest, AcceptedHandshakeByteForByteWithItsPauses) {
    EXPECT_EQ(link.ConnectToUnit(options, &result), 0);
    Settle();
    EXPECT_EQ(result.outcome, HandshakeOutcome::Connected);
    EXPECT_EQ(result.tries, 1);
    EXPECT_EQ(sim.Received(), Bytes({0x10, 0xAA, 0x02, 0x02}));
    EXPECT_EQ(sim.Sent(), Bytes({0x01, 0x02, 84, 0x01, 0x01, 0x02}));
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{100, 1000, 1000}));
    EXPECT_EQ(reporter.connection, (std::vector<LineState>{LineState::None, LineState::Succeeded}));
    EXPECT_EQ(reporter.summaryCleared, 1);  // only once the unit confirmed
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(g_bLinkFailed, 0);
}

TEST_F(UnitLinkTest, VariantsOfTheOtherDialogs) {
    // Alternate command, no pause before the answer, an alternate-group product.
    Unit([](auto& b) { b.productCode = 'S'; b.confirmAnswer = 0x07; });
    options.expectedProductCode = 'S';
    options.alternateCommand = true;
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    EXPECT_EQ(link.ConnectToUnit(options, &result), 0);
    EXPECT_TRUE(result.alternateGroup);
    Settle();
    EXPECT_EQ(sim.Received(), Bytes({0x10, 0xCC, 0x02, 0x02}));
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{1000, 1000}));

    // The lenient rule still refuses 0x08, and marks the connection failed.
    Unit([](auto& b) { b.confirmAnswer = 0x08; });
    reporter.connection.clear();
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    EXPECT_EQ(result.outcome, HandshakeOutcome::Refused);
    EXPECT_EQ(reporter.connection.back(), LineState::Failed);
}

TEST_F(UnitLinkTest, WrongConfirmationFailsWithoutChangingTheDisplay) {
    Unit([](auto& b) { b.confirmAnswer = 0x07; });
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    EXPECT_EQ(result.outcome, HandshakeOutcome::Refused);
    EXPECT_EQ(reporter.connection, (std::vector<LineState>{LineState::None, LineState::Succeeded}));
    EXPECT_EQ(reporter.summaryCleared, 0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(UnitLinkTest, MissingConfirmationMarksConnectionFailed) {
    Unit([](auto& b) { b.dropAfterBytes = 3; });  // hears 10 AA 02, then the line is cut
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    EXPECT_EQ(result.outcome, HandshakeOutcome::NotConfirmed);
    EXPECT_EQ(reporter.connection.back(), LineState::Failed);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(UnitLinkTest, ProductMismatchShowsMessageTellsUnitAndSetsFlag) {
    Unit([](auto& b) { b.productCode = 0x55; });
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    Settle();
    EXPECT_EQ(result.outcome, HandshakeOutcome::ProductMismatch);
    EXPECT_EQ(result.productCode, 0x55);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{"Product ID mismatch."});
    EXPECT_EQ(g_bLinkFailed, 1);
    EXPECT_EQ(sim.Received(), Bytes({0x10, 0xAA, 0x08, 0x08}));
    EXPECT_EQ(sim.MismatchNotices(), 1);

    // A dialog whose mismatch leaves the flag alone and names it differently.
    g_bLinkFailed = 0;
    reporter.messages.clear();
    options.setLinkFailed = false;
    options.mismatchMessage = "Product ID mismatched";
    options.noticeBeforeMessage = true;
    EXPECT_EQ(link.ConnectToUnit(options), -1);
    Settle();
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{"Product ID mismatched"});
    EXPECT_EQ(g_bLinkFailed, 0);
    EXPECT_EQ(sim.MismatchNotices(), 3);
}

TEST_F(UnitLinkTest, SilentUnitIsTriedFiveTimesWithoutPauses) {
    Unit([](auto& b) { b.silent = true; });
    uint32_t start = clock.GetTickCount();
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    uint32_t elapsed = clock.GetTickCount() - start;
    Settle();
    EXPECT_EQ(result.outcome, HandshakeOutcome::NoAnswer);
    EXPECT_EQ(result.tries, 5);
    EXPECT_EQ(result.wrongAnswers, 0);
    EXPECT_EQ(sim.Handshakes(), 0);  // silent: it hears nothing either
    EXPECT_EQ(sim.Received().size(), 10u);
    EXPECT_EQ(clock.Sleeps(), std::vector<uint32_t>(5, 100));
    EXPECT_GE(elapsed, 5 * CSerialPort::kDefaultReadLimitMs);
    EXPECT_EQ(reporter.connection.back(), LineState::Failed);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(UnitLinkTest, WrongAnswersAreTriedTwentyFourTimes) {
    Unit([](auto& b) { b.wrongHandshakes = 1000; });
    EXPECT_EQ(link.ConnectToUnit(options, &result), -1);
    Settle();
    EXPECT_EQ(result.tries, 24);
    EXPECT_EQ(result.wrongAnswers, 24);
    EXPECT_EQ(sim.Handshakes(), 24);
    EXPECT_EQ(SleepsExcept(100), std::vector<uint32_t>(24, 2000));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(UnitLinkTest, FewWrongAnswersThenAccepted) {
    Unit([](auto& b) { b.wrongHandshakes = 4; });
    EXPECT_EQ(link.ConnectToUnit(options, &result), 0);
    EXPECT_EQ(result.tries, 5);  // four wrong answers bought twenty more tries
    EXPECT_EQ(result.wrongAnswers, 4);
}

TEST_F(UnitLinkTest, FramedRecordGoesOutWithLengthAndCheck) {
    std::vector<uint8_t> record(32);
    for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(0xA0 + i);
    ASSERT_EQ(link.SendCommandWaitEcho(0x22), AnswerResult::Expected);
    sim.ClearLog();
    clock.ClearSleeps();
    EXPECT_EQ(link.SendFramedBlock(record), 0);
    Settle();

    std::vector<uint8_t> expected{0x20};
    expected.insert(expected.end(), record.begin(), record.end());
    expected.push_back(Xor(record, 0x20));
    expected.insert(expected.end(), {0x00, 0x00});
    EXPECT_EQ(sim.Received(), expected);
    EXPECT_EQ(sim.Sent(), Bytes({0x00, 0x03}));
    ASSERT_EQ(sim.Records().size(), 1u);
    EXPECT_TRUE(sim.Records()[0].checkOk);
    EXPECT_TRUE(sim.Records()[0].completed);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{1000, 1000}));
    EXPECT_EQ(reporter.step, std::vector<LineState>{LineState::Succeeded});
}

TEST_F(UnitLinkTest, FramedRecordFailures) {
    std::vector<uint8_t> record(8, 0x11);
    // The end answered wrongly: failed, no message.
    Unit([](auto& b) { b.endAnswer = 0x04; });
    link.SendCommandWaitEcho(0x19);
    EXPECT_EQ(link.SendFramedBlock(record), -1);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(reporter.step, std::vector<LineState>{LineState::Failed});

    // No acknowledgement: 60000.
    link.SendCommandWaitEcho(0x19);
    Unit([](auto& b) { b.silent = true; });
    EXPECT_EQ(link.SendFramedBlock(record), -1);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{kMsgCommError});

    // Longer than a record can say: refused before anything is sent.
    reporter.messages.clear();
    sim.ClearLog();
    std::vector<uint8_t> tooLong(256, 0x22);
    EXPECT_EQ(link.SendFramedBlock(tooLong), -1);
    EXPECT_EQ(reporter.messages.size(), 1u);
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

struct StreamCase {
    size_t fileSize;
    int blockSize;
    std::vector<unsigned> blockLengths;
    std::vector<int> progress;
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.fileSize << " bytes in blocks of " << c.blockSize;
}

// Progress of a stream of `full` full blocks: from 10 to 200 across them, however many
// there are; a padded last block moves nothing.
std::vector<int> Progress(int full) {
    std::vector<int> out;
    for (int k = 1; k <= full; ++k) out.push_back(10 + 190 * k / full);
    out.push_back(200);
    return out;
}

class FileStreamTest : public UnitLinkTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(FileStreamTest, BlocksArePaddedCheckedAndAcknowledged) {
    const StreamCase& c = GetParam();
    std::string file = Pattern(c.fileSize);
    std::istringstream in(file);
    ASSERT_EQ(link.SendCommandWaitEcho(0x12), AnswerResult::Expected);
    StreamOutcome outcome;
    EXPECT_EQ(link.SendFileBlocks(in, 0, c.blockSize, 1, &outcome), 0);
    EXPECT_EQ(outcome, StreamOutcome::Done);
    Settle();

    auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    const unitsim::FileStream& s = streams[0];
    EXPECT_EQ(s.command, 0x12);
    EXPECT_TRUE(s.checksOk);
    EXPECT_TRUE(s.completed);
    EXPECT_EQ(s.blockLengths, c.blockLengths);
    std::string padded = file;
    padded.resize(c.blockLengths.size() * static_cast<size_t>(c.blockSize), '\xFF');
    EXPECT_EQ(std::string(s.data.begin(), s.data.end()), padded);
    EXPECT_EQ(reporter.progress, c.progress);
    EXPECT_TRUE(reporter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FileStreamTest,
    ::testing::Values(StreamCase{256, 64, {64, 64, 64, 64}, {57, 105, 152, 200, 200}},
                      StreamCase{100, 64, {64, 64}, {200, 200}},
                      StreamCase{10, 64, {64}, {200}},
                      StreamCase{70000, 600, std::vector<unsigned>(117, 600), Progress(116)}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(UnitLinkTest, StreamBytesOnTheWire) {
    // Two blocks of 4: length high, low, data, check = high ^ low ^ data.
    std::istringstream in(std::string("\x01\x02\x03\x04\x05", 5));
    link.SendCommandWaitEcho(0x21);
    sim.ClearLog();
    EXPECT_EQ(link.SendFileBlocks(in, 0, 4, 1), 0);
    Settle();
    EXPECT_EQ(sim.Received(), Bytes({0x00, 0x04, 1, 2, 3, 4, 0x04 ^ 1 ^ 2 ^ 3 ^ 4,  //
                                     0x00, 0x04, 5, 0xFF, 0xFF, 0xFF, 0x04 ^ 5 ^ 0xFF ^ 0xFF ^ 0xFF,  //
                                     0x00, 0x00}));
    EXPECT_EQ(sim.Sent(), Bytes({0x00, 0x00, 0x03}));
}

TEST_F(UnitLinkTest, RefusedBlockEndsTheStreamWithCommError) {
    Unit([](auto& b) { b.refuseBlock = 2; });
    std::istringstream in(Pattern(300));
    link.SendCommandWaitEcho(0x21);
    StreamOutcome outcome;
    EXPECT_EQ(link.SendFileBlocks(in, 0, 64, 1, &outcome), -1);
    Settle();
    EXPECT_EQ(outcome, StreamOutcome::BlockRefused);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{kMsgCommError});
    ASSERT_EQ(sim.Streams().size(), 1u);
    auto streams = sim.Streams();
    EXPECT_EQ(streams[0].blockLengths.size(), 2u);  // nothing after the refusal
    EXPECT_FALSE(streams[0].completed);
}

TEST_F(UnitLinkTest, WrongFinalByteFailsTheStream) {
    Unit([](auto& b) { b.endAnswer = 0x05; });
    std::istringstream in(Pattern(100));
    link.SendCommandWaitEcho(0x12);
    StreamOutcome outcome;
    EXPECT_EQ(link.SendFileBlocks(in, 0, 64, 1, &outcome), -1);
    EXPECT_EQ(outcome, StreamOutcome::EndWrongAnswer);
    EXPECT_TRUE(reporter.messages.empty());

    // The project stream names it.
    std::vector<uint8_t> data(50, 0x1E);
    link.SendCommandWaitEcho(0x18);
    EXPECT_EQ(link.SendBlocks(data.data(), data.size(), 64, CUnitLink::kMaxProjectBlockSize,
                              "Error while  Project downloading."),
              -1);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{"Error while  Project downloading."});
}

TEST_F(UnitLinkTest, LineCutInTheMiddleOfAStream) {
    link.SendCommandWaitEcho(0x12);
    Unit([](auto& b) { b.dropAfterBytes = 200; });
    std::istringstream in(Pattern(1000));
    StreamOutcome outcome;
    EXPECT_EQ(link.SendFileBlocks(in, 0, 128, 1, &outcome), -1);
    EXPECT_EQ(outcome, StreamOutcome::BlockNotAnswered);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{kMsgCommError});
}

TEST_F(UnitLinkTest, BlockSizeOutOfRangeIsRefusedBeforeSending) {
    std::istringstream in(Pattern(100));
    for (int size : {0, -5, 601}) {
        StreamOutcome outcome;
        EXPECT_EQ(link.SendFileBlocks(in, 0, size, 1, &outcome), -1);
        EXPECT_EQ(outcome, StreamOutcome::InvalidBlockSize);
    }
    std::vector<uint8_t> data(10);
    EXPECT_EQ(link.SendBlocks(data.data(), data.size(), 5001, CUnitLink::kMaxProjectBlockSize), -1);
    EXPECT_EQ(reporter.Texts(), (std::vector<std::string>{InvalidBlockSizeMessage(0, 600),
                                                          InvalidBlockSizeMessage(-5, 600),
                                                          InvalidBlockSizeMessage(601, 600),
                                                          InvalidBlockSizeMessage(5001, 5000)}));
    Settle();
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(UnitLinkTest, StartBeyondTheEndOfTheFile) {
    // Kind 1 sends the whole file; kind 2 starts at 32; a file shorter than that has
    // nothing to send but the end exchange.
    std::string file = Pattern(100);
    std::istringstream in(file);
    link.SendCommandWaitEcho(0x21);
    EXPECT_EQ(link.SendFileBlocks(in, 16384, 100, 1), 0);
    link.SendCommandWaitEcho(0x21);
    EXPECT_EQ(link.SendFileBlocks(in, 16384, 100, 2), 0);
    std::istringstream tiny("abc");
    link.SendCommandWaitEcho(0x21);
    EXPECT_EQ(link.SendFileBlocks(tiny, 16384, 100, 2), 0);
    Settle();
    auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 3u);
    EXPECT_EQ(std::string(streams[0].data.begin(), streams[0].data.end()), file);
    EXPECT_EQ(std::string(streams[1].data.begin(), streams[1].data.begin() + 68), file.substr(32));
    EXPECT_TRUE(streams[2].data.empty());
    EXPECT_TRUE(streams[2].completed);
}

TEST_F(UnitLinkTest, EchoWaitEndsByItsDeadline) {
    Unit([](auto& b) { b.silent = true; });
    uint32_t start = clock.GetTickCount();
    EXPECT_EQ(link.SendCommandWaitEcho(0x22), AnswerResult::None);
    uint32_t elapsed = clock.GetTickCount() - start;
    EXPECT_GE(elapsed, CUnitLink::kEchoWatchdogMs);
    EXPECT_LT(elapsed, CUnitLink::kEchoWatchdogMs + CSerialPort::kDefaultReadLimitMs + 3000);

    // A shorter read limit shortens the further read only.
    port.SetReadLimit(500);
    start = clock.GetTickCount();
    EXPECT_EQ(link.SendCommandReadAnswer(0x21, 1000, 0x21), AnswerResult::None);
    EXPECT_LT(clock.GetTickCount() - start, 3000u);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(UnitLinkTest, EchoAfterPreparationAndWrongEcho) {
    Unit([](auto& b) { b.echoDelayMs = 50; });  // 5 s of the link's clock
    uint8_t got = 0;
    EXPECT_EQ(link.SendCommandWaitEcho(0x17, &got), AnswerResult::Expected);
    EXPECT_EQ(got, 0x17);
    Settle();
    port.PurgeComm(PURGE_RXCLEAR);  // the unit information that follows the echo
    Unit([](auto& b) { b.echoDelayMs = 0; });
    // 0x20 is echoed; asked as if it were 0x19 it is another byte.
    EXPECT_EQ(link.SendCommandReadAnswer(0x20, 1000, 0x19, &got), AnswerResult::Other);
    EXPECT_EQ(got, 0x20);
}

TEST_F(UnitLinkTest, RestartSendsTheCommandAndClosesThePort) {
    EXPECT_EQ(link.RestartUnit(), 0);
    EXPECT_FALSE(port.IsOpen());
    sim.WaitQuiet(30, 2000);
    EXPECT_EQ(sim.Received(), Bytes({0x10, 0xBB}));
    EXPECT_EQ(sim.Restarts(), 1);
}

TEST(UnitLinkClosedPort, FailsAtOnceWithoutAFloodOfMessages) {
    RecordingReporter reporter;
    CSerialPort port;
    port.SetReporter(&reporter);
    CUnitLink link(port);
    HandshakeOptions options;
    options.expectedProductCode = 84;
    EXPECT_EQ(link.ConnectToUnit(options), -1);
    EXPECT_EQ(link.SendCommandWaitEcho(0x12), AnswerResult::None);
    EXPECT_EQ(link.SendCommandReadAnswer(0x21, 1000, 0x21), AnswerResult::None);
    EXPECT_EQ(link.RestartUnit(), -1);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(reporter.connection.back(), LineState::Failed);

    std::vector<uint8_t> record(32, 0x01);
    EXPECT_EQ(link.SendFramedBlock(record), -1);
    std::istringstream in("data");
    EXPECT_EQ(link.SendFileBlocks(in, 0, 64, 1), -1);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>(2, kMsgCommError));
}
