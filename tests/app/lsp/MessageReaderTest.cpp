#include "app/lsp/MessageReader.h"
#include "tests/app/lsp/LspSession.h"

#include <gtest/gtest.h>

namespace ondrex::lsp {
namespace {

using testing::Framed;

std::vector<TFramedMessage> drain(TMessageReader& reader) {
    std::vector<TFramedMessage> out;
    for (TFramedMessage m; reader.Next(m);)
        out.push_back(m);
    return out;
}

TEST(MessageReader, FramesWhateverTheReadsCutAndHoldsSeveralMessagesOfOneRead) {
    const std::string stream = Framed("{\"a\":1}") +
                               "Content-Type: application/vscode-jsonrpc; charset=utf-8\r\n" +
                               Framed("{\"b\":\"\xC3\xA9\"}") + Framed("{}");
    // One byte at a time: every header and body split at every place.
    TMessageReader bytewise;
    std::vector<TFramedMessage> got;
    for (char c : stream) {
        bytewise.Append(std::string_view(&c, 1));
        for (TFramedMessage& m : drain(bytewise))
            got.push_back(m);
    }
    // All at once.
    TMessageReader whole;
    whole.Append(stream);
    for (const auto& messages : {got, drain(whole)}) {
        ASSERT_EQ(messages.size(), 3u);
        EXPECT_EQ(messages[0].body, "{\"a\":1}");
        EXPECT_EQ(messages[1].body, "{\"b\":\"\xC3\xA9\"}"); // length counts bytes
        EXPECT_EQ(messages[2].body, "{}");
        for (const TFramedMessage& m : messages)
            EXPECT_TRUE(m.error.empty()) << m.error;
    }
    EXPECT_EQ(whole.Unfinished(), "");
}

TEST(MessageReader, BadFramingGivesOneErrorAndTheNextMessageStillArrives) {
    const std::pair<std::string, std::string> cases[] = {
        {"Content-Length: ten\r\n\r\n{}", "not a length"},
        {"Content-Length: 99999999999\r\n\r\n{}", "not a length"},
        {"Content-Length: -3\r\n\r\n{}", "not a length"},
        {"Content-Type: text/plain\r\n\r\n{}", "without Content-Length"},
        {"garbage without a colon\r\n", "not a message header"},
        {"{\"jsonrpc\":\"2.0\"}\r\n", "not a message header"},
    };
    for (const auto& [bad, why] : cases) {
        TMessageReader reader;
        reader.Append(bad + Framed("{\"ok\":1}"));
        const std::vector<TFramedMessage> got = drain(reader);
        ASSERT_EQ(got.size(), 2u) << bad;
        EXPECT_NE(got[0].error.find(why), std::string::npos) << got[0].error;
        EXPECT_EQ(got[1].body, "{\"ok\":1}") << bad;
    }
}

TEST(MessageReader, AShortLengthCutsTheBodyAndTheRestIsSkippedUpToTheNextHeader) {
    TMessageReader reader;
    reader.Append("Content-Length: 5\r\n\r\n{\"a\":123}" + Framed("{\"ok\":1}"));
    const std::vector<TFramedMessage> got = drain(reader);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].body, "{\"a\":"); // the JSON parser reports it
    EXPECT_NE(got[1].error.find("skipped 4 bytes"), std::string::npos) << got[1].error;
    EXPECT_EQ(got[2].body, "{\"ok\":1}");
}

TEST(MessageReader, TellsWhatWasCutWhenTheInputEndsInsideAMessage) {
    TMessageReader body;
    body.Append("Content-Length: 10\r\n\r\n{\"a\"");
    EXPECT_EQ(body.Unfinished(),
              "the input ended inside a message: 4 of 10 bytes of its body had arrived");
    TMessageReader header;
    header.Append("Content-Len");
    EXPECT_NE(header.Unfinished().find("inside a message header"), std::string::npos);
}

} // namespace
} // namespace ondrex::lsp
