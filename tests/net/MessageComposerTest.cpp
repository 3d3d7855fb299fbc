// The message file's line rules on plain strings: the kept and rewritten
// header lines, the header end and NNNN mark, the subject text and its file
// name, and the body wrapping with its blank search and hard cut.

#include <gtest/gtest.h>

#include "net/MessageComposer.h"
#include "net/SubjectToFileName.h"

TEST(MessageComposer, KeepsFourHeadersRewrittenAndMarksTheEnd) {
    ComposedMessage message = ComposeMessageFile(
        "Received: from x\n"
        "From: Joe_Bloggs <joe@example.com>\n"
        "To: Night_Desk!desk@kova.example\n"
        "Subject: Net_Report: Monday\n"
        "Date: Wed, 09 Dec 2026 10:00:00 +0000\n"
        "X-Mailer: test\n"
        "\n"
        "Hello there\n"
        "From: the body stays as it is\n"
        "last line",
        72);
    EXPECT_EQ(message.text,
              "From: Joe Bloggs <joe@example.com>\n"
              "To: Night Desk\n"
              "Subject: Net Report: Monday\n"
              "Date: Wed, 09 Dec 2026 10:00:00 +0000\n"
              "\r\n"
              "Hello there\n"
              "From: the body stays as it is\n"
              "last line"
              "\r\nNNNN\r\n");
    EXPECT_EQ(message.subject, "Net_Report: Monday");
}

TEST(MessageComposer, WithoutAnEmptyLineThereIsNoBodyAndNoMark) {
    ComposedMessage message = ComposeMessageFile("From: a\nTo: b@c\nSubject: x\nbody without header end", 72);
    EXPECT_EQ(message.text, "From: a\nTo: General Delivery\nSubject: x\n");
    EXPECT_EQ(ComposeMessageFile("", 72).text, "");
    EXPECT_FALSE(ComposeMessageFile("From: a\n\nHi", 72).subject.has_value());
}

TEST(MessageComposer, RewritesHeaderLines) {
    struct Case {
        std::string line;
        std::optional<std::string> kept;
    };
    const std::string longSubject = "Subject: " + std::string(80, 'a') + "\n";
    const Case cases[] = {
        {"To: someone@example.com\n", "To: General Delivery\n"},
        {"To: a@b!c\n", "To: General Delivery\n"},
        {"To: no_mailbox!here\n", "To: General Delivery\n"},
        {"To: Desk_One!kova@x\n", "To: Desk One\n"},
        {longSubject, "Subject: " + std::string(61, 'a') + "\n"},
        {"Date: Wed, 9 Dec 2026\n", "Date: Wed, 9 Dec 2026\n"},
        {"from: lower case is dropped\n", std::nullopt},
        {"Cc: x\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(RewriteHeaderLine(c.line), c.kept) << c.line;
}

TEST(MessageComposer, TakesTheSubjectTextAfterTheColonAndBlank) {
    EXPECT_EQ(SubjectText("Subject: Net Report: Monday\n"), "Net Report: Monday");
    EXPECT_EQ(SubjectText("Subject: \n"), "");
    EXPECT_EQ(SubjectText("Subject:\n"), "");
    EXPECT_EQ(SubjectText("Subject: x\r\n"), "x");
    EXPECT_EQ(SubjectText("Subject: " + std::string(300, 'b') + "\n").size(), 256u);
}

TEST(MessageComposer, NamesFilesAfterTheSubject) {
    const std::pair<std::string, std::string> cases[] = {
        {"Net Report: Monday", "Net_Report$_Monday.txt"},
        {"", ".txt"},
        {std::string(60, 'x'), std::string(58, 'x') + ".txt"},
        {"a/b\\c*d?e\"f<g>h|i[j]k=l!m%n^o&p(q)r+s}t{u;v`w~x", "a$b$c$d$e$f$g$h$i$j$k$l$m$n$o$p$q$r$s$t$u$v$w$x.txt"},
        {"tab\there\x7f\xe9", "tab$here$$.txt"},
        {"../../etc/passwd", "..$..$etc$passwd.txt"},
        {"Dots.and-dash_ok,#@", "Dots.and-dash_ok,#@.txt"},
        // Never a script command: a leading '$' is written '_'.
        {"/TX", "_TX.txt"},
        {"*ASCII now", "_ASCII_now.txt"},
        {"=?utf-8?b?R3LDvMOfZQ==?=", "_$utf-8$b$R3LDvMOfZQ$$$$.txt"},
        {"\\\\", "_$.txt"},
        {"$RX", "_RX.txt"},
    };
    for (const auto& [subject, name] : cases) EXPECT_EQ(SubjectToFileName(subject), name) << subject;
}

TEST(MessageComposer, WrapsAWordlessLineHardAfter45) {
    std::string line(150, 'x');
    EXPECT_EQ(WrapBodyLine(line + "\n", 72),
              std::string(45, 'x') + "\n" + std::string(45, 'x') + "\n" + std::string(60, 'x') + "\n");
}

TEST(MessageComposer, WrapsALineOfWordsAtTheLastBlankFrom46ToTheLimit) {
    std::string line;
    for (int i = 0; line.size() < 400; ++i) line += "word" + std::to_string(i % 10) + std::string(i % 3, 'z') + " ";
    line.pop_back();
    for (int limit : {60, 72, 80}) {
        std::string wrapped = WrapBodyLine(line, limit);
        std::string rejoined;
        std::size_t from = 0;
        for (std::size_t end = wrapped.find('\n'); end != std::string::npos; end = wrapped.find('\n', from)) {
            std::size_t piece = end - from;
            EXPECT_GE(piece, 46u);
            EXPECT_LE(piece, static_cast<std::size_t>(limit));
            EXPECT_NE(wrapped[end + 1], ' ') << "the blank at the break is dropped";
            rejoined += wrapped.substr(from, piece) + " ";
            from = end + 1;
        }
        EXPECT_LE(wrapped.size() - from, static_cast<std::size_t>(limit));
        EXPECT_EQ(rejoined + wrapped.substr(from), line) << limit;
    }
}

TEST(MessageComposer, LeavesSomeLinesUnwrapped) {
    const std::string longLine(100, 'y');
    EXPECT_EQ(WrapBodyLine(longLine, 0), longLine);
    EXPECT_EQ(WrapBodyLine(longLine + "\r\r\n", 72), longLine + "\r\r\n");
    EXPECT_EQ(WrapBodyLine(std::string(72, 'y') + "\r\n", 72), std::string(72, 'y') + "\r\n");
    EXPECT_EQ(ComposeMessageFile("Subject: s\n\n" + longLine, 0).text, "Subject: s\n\r\n" + longLine + "\r\nNNNN\r\n");
}
