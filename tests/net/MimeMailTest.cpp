// Mail as today's clients send it, read right: charsets to Latin-1 with
// what lies beyond transliterated, HTML and flowed text made plain, and the
// corpus of real messages (tests/net/mail, made by Python's email package
// and swaks) delivered to the station, checked in the stored file and on
// the line in MILITARY mode.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "net/FlowedText.h"
#include "net/HtmlText.h"
#include "net/Latin1Text.h"
#include "net/MimeMessage.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "support/CodingFixture.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"

using namespace std::chrono_literals;

namespace {

std::string corpusMessage(const std::string& name) {
    std::ifstream in(std::string(TARVIK_SOURCE_DIR) + "/tests/net/mail/" + name + ".msg", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(Latin1Text, ConvertsDeclaredAndUndeclaredCharsets) {
    EXPECT_EQ(Latin1FromCharset("Caf\xc3\xa9", "utf-8"), "Caf\xe9");
    EXPECT_EQ(Latin1FromCharset("Caf\xc3\xa9", ""), "Caf\xe9") << "undeclared and valid UTF-8";
    EXPECT_EQ(Latin1FromCharset("Caf\xe9", ""), "Caf\xe9") << "undeclared, not UTF-8: Latin-1 as it stands";
    EXPECT_EQ(Latin1FromCharset("Caf\xe9", "no-such-charset"), "Caf\xe9");
    EXPECT_EQ(Latin1FromCharset("Caf\xe9", "us-ascii"), "Caf\xe9");
    EXPECT_EQ(Latin1FromCharset("5 \x80 \x96 \x93quoted\x94", "Windows-1252"), "5 EUR - \"quoted\"");
    EXPECT_EQ(Latin1FromCharset("\xa4", "ISO-8859-15"), "EUR");
    EXPECT_EQ(Latin1FromCharset("\xe2\x89\xa0 \xe2\x80\xa6 \xe2\x80\x94", "UTF-8"), "? ... -") << "nothing dropped";
    EXPECT_EQ(Latin1FromCharset("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "utf-8"), "Privet");
    EXPECT_EQ(Latin1FromCharset("\xf0\x9f\x98\x80", "utf-8"), "?");
}

TEST(Latin1Text, TransliteratesNamesTheGermanWay) {
    EXPECT_EQ(AsciiTransliteration("Gr\xfc\xdf" "e aus K\xf6ln"), "Gruesse aus Koeln");
    EXPECT_EQ(AsciiTransliteration("Caf\xe9 \xa9"), "Cafe (C)");
}

TEST(Latin1Text, DecodesUtf8SplitAcrossReceives) {
    Utf8InputDecoder decoder;
    EXPECT_EQ(decoder.feed("caf\xc3"), "caf");
    EXPECT_EQ(decoder.feed("\xa9 \xe2\x82"), "\xe9 ");
    EXPECT_EQ(decoder.feed("\xac!"), "EUR!");
    // A Latin-1 terminal's bytes and telnet option bytes stay as they are.
    EXPECT_EQ(decoder.feed("\xe9t\xe9 \xff\xfb\x01"), "\xe9t\xe9 \xff\xfb\x01");
    EXPECT_EQ(IsValidUtf8("\xc0\xaf"), false) << "overlong";
    EXPECT_EQ(IsValidUtf8("\xed\xa0\x80"), false) << "surrogate";
}

TEST(FlowedText, JoinsSoftBreaksOfTheSameQuoteDepth) {
    EXPECT_EQ(UnflowText("one \ntwo \nthree\nfour\n", false), "one two three\nfour\n");
    EXPECT_EQ(UnflowText("one  \ntwo\n", true), "one two\n") << "delsp drops the client's blank";
    EXPECT_EQ(UnflowText("> a \n> b\n>> c \nd\n", false), "> a b\n>> c \nd\n");
    EXPECT_EQ(UnflowText(" From stuffed\n-- \nsig\n", false), "From stuffed\n-- \nsig\n");
}

TEST(HtmlText, ShowsWhatABrowserShows) {
    EXPECT_EQ(HtmlToText("<html><head><title>T</title><STYLE>p{}</STYLE></head><body><p>One&nbsp;&nbsp;two"
                         "</p><div>x<br>y &amp; &lt;z&gt; caf&eacute; &#233;&#xE9; &euro; &bogus;</div>"
                         "<script>alert(1)</script><!-- hidden --><ul><li>a</li><li>b</li></ul>\n"
                         "  many   blanks\n here <pre>kept  as\n  is</pre></body></html>"),
              "One  two\nx\ny & <z> caf\xe9 \xe9\xe9 EUR &bogus;\na\nb\nmany blanks here\nkept  as\n  is\n");
}

TEST(MimeMessage, LeavesMailWithoutMimeAsItCameButForUtf8) {
    const std::string latin1 = "From: a\nSubject: Caf\xe9\n\nCaf\xe9 _x_\n";
    EXPECT_EQ(ReadMailText(latin1).text, latin1);
    EXPECT_EQ(ReadMailText("Subject: Caf\xc3\xa9\n\nCaf\xc3\xa9\n").text, "Subject: Caf\xe9\n\nCaf\xe9\n");
}

TEST(MimeMessage, ReadsEveryShapeOfTheCorpus) {
    struct Case {
        std::string message;
        std::string text;
        std::vector<std::string> dropped;
    };
    const std::string from = "From: J\xf6rg M\xfcller <joerg@example.com>\nTo: kova@station.example\n";
    const Case cases[] = {
        {"utf8_8bit", "Subject: Cafe 8bit\n", {}},
        {"utf8_base64", "Caf\xe9 M\xfcnchen\nZweite Zeile\n", {}},
        {"utf8_quoted_printable",
         "Gr\xfc\xdf" "e aus M\xfcnchen, wo das Wetter heute sch\xf6n ist und die Stra\xdf" "enbahn f\xe4hrt p\xfcnktlich.\n",
         {}},
        {"latin1_quoted_printable", "\xc7" "a co\xfbte 5 \xa3\n", {}},
        {"windows1252_8bit", "Price: 5 EUR \"quoted\" - dash\n", {}},
        {"encoded_subject", "Subject: Gr\xfc\xdf" "e aus K\xf6ln\n", {}},
        {"alternative", "Plain text wins\n", {}},
        {"html_only", "First para & more\nSecond\nline! caf\xe9\none\ntwo\n", {}},
        {"mixed_attachment", "Nested plain text\n", {"report.pdf (application/pdf)"}},
        {"swaks_attachment", "Body from swaks\n", {"notes.txt (text/plain)"}},
        {"flowed", "This paragraph was broken by the client at its own width and is one line.\n"
                   "> quoted and joined\n-- \nsignature\n",
         {}},
        {"non_latin", "Privet, mir ? ?\n", {}},
    };
    for (const Case& c : cases) {
        std::string received = corpusMessage(c.message);
        ASSERT_FALSE(received.empty()) << c.message;
        // As the store reads the spool: text mode, without the end mark.
        received.resize(received.size() - 3);
        MailText mail = ReadMailText(FoldLineEnds(received));
        EXPECT_NE(mail.text.find(c.text), std::string::npos) << c.message << ":\n" << mail.text;
        EXPECT_EQ(mail.dropped, c.dropped) << c.message;
        // The messages of Python's email package are from J\xf6rg, his name encoded.
        if (mail.text.find("joerg@") != std::string::npos) {
            EXPECT_EQ(mail.text.substr(0, from.size()), from) << c.message;
        }
    }
}

TEST(MimeMessage, CorpusMessagesAreStoredAndAiredAsTheirText) {
    struct Case {
        std::string message;
        std::string name;
        std::string body;
        std::string aired;
    };
    const Case cases[] = {
        {"utf8_8bit", "Cafe_8bit.txt", "Caf\xe9 M\xfcnchen", "CAFE MUENCHEN"},
        {"utf8_quoted_printable", "Cafe_qp.txt", "Gr\xfc\xdf" "e aus M\xfcnchen, wo das Wetter heute sch\xf6n ist und",
         "GRUESSE AUS MUENCHEN, WO DAS WETTER HEUTE SCHOEN IST UND"},
        {"utf8_base64", "Cafe_base64.txt", "Caf\xe9 M\xfcnchen\r\nZweite Zeile", "CAFE MUENCHEN"},
        {"windows1252_8bit", "Price.txt", "Price: 5 EUR \"quoted\" - dash", "PRICE: 5 EUR \"QUOTED\" - DASH"},
        {"encoded_subject", "Gruesse_aus_Koeln.txt", "Hallo", "SUBJECT: GRUESSE AUS KOELN"},
        {"html_only", "HTML_only.txt", "First para & more\r\nSecond\r\nline! caf\xe9", "FIRST PARA & MORE"},
        {"mixed_attachment", "With_attachment.txt", "Nested plain text", "NESTED PLAIN TEXT"},
        {"swaks_latin1_plain", "Swaks_Latin-1.txt", "Caf\xe9 ohne MIME", "CAFE OHNE MIME"},
    };
    NetFixture s;
    s.state.shiftState = 31;
    s.openPort();
    ASSERT_TRUE(s.station.encoder.LoadIntCharDict(std::string(TARVIK_SOURCE_DIR) + "/station/IntCharDict.txt"));
    s.startServices();
    for (const Case& c : cases) {
        MailClient t(s, s.smtpPort1, s.pump());
        t.envelope();
        EXPECT_EQ(t.data({corpusMessage(c.message)}), StoredReply(c.name)) << c.message;
        EXPECT_NE(ReadBinaryFile("data/" + c.name).find("\r\r\n" + c.body), std::string::npos)
            << c.message << ":\n" << ReadBinaryFile("data/" + c.name);
    }
    EXPECT_TRUE(s.logged("StoreDataMessage : attachment report.pdf (application/pdf) not aired"));

    s.station.session.CmEnable();
    ASSERT_TRUE(s.waitLogged("Completed sending <Cafe_8bit.txt>.", 120s));
    const std::string printed = PrintedAir(s.air);
    for (const Case& c : cases) EXPECT_NE(printed.find(c.aired), std::string::npos) << c.message << "\n" << printed;
}

TEST(MimeMessage, ScreeningSeesWordsInEncodedBodies) {
    NetFixture s;
    s.state.badWords.replace({"DARN"});
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    EXPECT_EQ(t.data({corpusMessage("bad_word_base64")}),
              "250 message \"Hidden.txt\" not sent because of bad word violation\r\n");
    EXPECT_TRUE(s.logged("ERROR - Message Contained bad word \"DARN\" in text"));
    EXPECT_TRUE(FileExists("data/badwords/Hidden.txt"));
}

TEST(MimeMessage, MsmtpAndSmtplibDeliverMimeMail) {
    NetFixture s;
    s.startServices();
    const std::string port = std::to_string(s.smtpPort1);
    WriteBinaryFile("alternative.eml", corpusMessage("alternative"));
    ProcessResult msmtp = s.whilePumping([&] {
        return RunCommand("sed -e '$d' -e 's/\\r$//' -e 's/^\\.\\././' alternative.eml | msmtp --host=127.0.0.1 --port=" +
                          port + " --from=joe@example.com kova@station.example");
    });
    EXPECT_EQ(msmtp.status, 0) << msmtp.output;
    EXPECT_NE(ReadBinaryFile("data/Alternative.txt").find("\r\r\nPlain text wins"), std::string::npos);
    EXPECT_EQ(ReadBinaryFile("data/Alternative.txt").find("HTML"), std::string::npos);

    std::string program = R"(import smtplib
from email.message import EmailMessage
m = EmailMessage()
m['Subject'] = 'Gr\u00fc\u00dfe'
m.set_content('\u201eStra\u00dfe\u201c \u2013 5 \u20ac\n', cte='quoted-printable')
with smtplib.SMTP('127.0.0.1', PORT) as s:
    s.send_message(m, 'joe@example.com', ['kova@station.example'])
print('sent')
)";
    program.replace(program.find("PORT"), 4, port);
    EXPECT_EQ(s.whilePumping([&] { return RunPython(program).output; }), "sent\n");
    EXPECT_NE(ReadBinaryFile("data/Gruesse.txt").find("\r\r\n,,Stra\xdf" "e\" - 5 EUR\r\r\nNNNN"), std::string::npos)
        << ::testing::PrintToString(ReadBinaryFile("data/Gruesse.txt"));
}
