// The DATA stream decoder: the end mark found however the receives split it,
// an empty message, dot-stuffed lines, NUL bytes, and what follows the mark.

#include <gtest/gtest.h>

#include "net/SmtpDataDecoder.h"

namespace {

struct Decoded {
    std::string bytes;
    bool ended;
};

Decoded decodeInTwo(const std::string& stream, std::size_t split) {
    SmtpDataDecoder decoder;
    Decoded out{"", false};
    out.ended = decoder.feed(std::string_view(stream).substr(0, split), out.bytes);
    if (!out.ended) out.ended = decoder.feed(std::string_view(stream).substr(split), out.bytes);
    return out;
}

}  // namespace

TEST(SmtpDataDecoder, FindsTheEndMarkAtEverySplitOfTheStream) {
    struct Case {
        std::string stream;
        std::string message;
        bool ended;
    };
    const Case cases[] = {
        {"Hello\r\n.\r\n", "Hello", true},
        {".\r\n", "", true},
        {"\r\n.\r\n", "", true},
        {"Line one\r\n..dot\r\n.x\r\nlast\r\n.\r\nQUIT\r\n", "Line one\r\n.dot\r\n.x\r\nlast", true},
        {"..\r\n.\r\n", ".", true},
        {"a\r\r\n.\r\n", "a\r", true},
        {"a\r\n.\rb\r\n.\r\n", "a\r\n.\rb", true},
        {std::string("a\0b\r\n\0\r\n.\r\n", 11), std::string("a\0b\r\n\0", 6), true},
        {"no end\r\n.\r", "no end", false},
        {"no end\r\n", "no end", false},
    };
    for (const Case& c : cases) {
        for (std::size_t split = 0; split <= c.stream.size(); ++split) {
            Decoded out = decodeInTwo(c.stream, split);
            EXPECT_EQ(out.ended, c.ended) << c.stream << " split at " << split;
            if (c.ended) {
                EXPECT_EQ(out.bytes, c.message) << c.stream << " split at " << split;
            }
        }
    }
}

TEST(SmtpDataDecoder, TakesABodyByteByByte) {
    std::string body;
    for (int i = 0; i < 200; ++i) body += "line " + std::to_string(i) + "\r\n" + (i % 7 == 0 ? ".." : "") + "x\r\n";
    std::string stream = body + ".\r\n";
    SmtpDataDecoder decoder;
    std::string out;
    for (char c : stream) decoder.feed(std::string_view(&c, 1), out);
    std::string expected = body.substr(0, body.size() - 2);
    for (std::size_t at = expected.find("\r\n.."); at != std::string::npos; at = expected.find("\r\n..", at + 1))
        expected.erase(at + 2, 1);
    EXPECT_TRUE(decoder.ended());
    EXPECT_EQ(out, expected);
}
